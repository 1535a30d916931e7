#include "restore_converter_kelda1.h"

#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

#include <QDir>

namespace {
constexpr CxTr Tr("CSQLRestoreWizard_Converter_Kelda1");
} // namespace

CSQLRestoreWizard_Converter_Kelda1::CSQLRestoreWizard_Converter_Kelda1(QWidget* parent)
    : CSQLRestoreWizard_ConverterPane(parent) {}

QString CSQLRestoreWizard_Converter_Kelda1::GetPaneTitle() const {
    return Tr(QStringLiteral("Восстановление архива Kelda1"));
}

QString CSQLRestoreWizard_Converter_Kelda1::GetRunText() const {
    return Tr(QStringLiteral("Восстановить"));
}

QString CSQLRestoreWizard_Converter_Kelda1::GetSummary() const {
    return CSQLRestoreWizard_ConverterPane::GetSummary() + QStringLiteral("\n\n") +
           Tr(QStringLiteral("Архив предыдущей версии программы будет преобразован в базу данных "
                             "этой версии. Справочники сопоставляются по файлу:")) +
           QStringLiteral("\n<b>") +
           QDir::toNativeSeparators(m_converter.MappingFilePath()).toHtmlEscaped() +
           QStringLiteral("</b>\n") +
           Tr(QStringLiteral("Если в нем не хватает записей, преобразование остановится, а "
                             "недостающие записи будут дописаны в этот файл для заполнения."));
}
