#pragma once
// The old archive the restore tests convert: settings, a training,
// directories of every kind, daily figures, visits, clients with their
// histories, health rows, reports, a table that is never converted and one
// nobody knows; and the mapping file that converts it.
#include "loader/tests/archive_writer.h"

#include <QString>

// Texts of old archives are code page 1251.
QByteArray Cp1251(const QString& text);
TestValue T(const QString& text);
TestValue N(qint64 n);
TestValue D(const char* date);
inline const TestValue Z = Null();
TestTable Table(const char* name, const char* columns, QList<QList<TestValue>> rows);

QList<TestTable> OldTables();

inline constexpr char kMapping[] = "5:Гепатит\t17\r\n"
                                   "6:Программа\t196608+5\r\n"
                                   "DG.1\t196609\r\n"
                                   "DG.2\t196612\r\n"
                                   "DG.3\t-1\r\n"
                                   "DG.5\t65798146\r\n";
