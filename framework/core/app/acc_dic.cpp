#include "acc_dic.h"

#include <QMutex>

namespace {
QMutex g_mutex;
QList<CxAccDic>& Dictionaries() {
    static auto* list = new QList<CxAccDic>;
    return *list;
}
} // namespace

void LoadAccDic(const QString& name, const QString& title) {
    QMutexLocker lock(&g_mutex);
    for (CxAccDic& dic : Dictionaries())
        if (dic.name == name) {
            dic.title = title;
            return;
        }
    Dictionaries().append(CxAccDic{name, title});
}

QList<CxAccDic> GetAccDics() {
    QMutexLocker lock(&g_mutex);
    return Dictionaries();
}
