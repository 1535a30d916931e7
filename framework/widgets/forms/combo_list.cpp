#include "combo_list.h"

#include "dxx.h"
#include "framework/core/enums/enum2.h"
#include "framework/core/tarvik_app.h"

#include <QCollator>

namespace {
constexpr long kNone = -1;
}

CxComboList::CxComboList(QWidget* parent) : QComboBox(parent) {
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(12);
}

void CxComboList::SetEnum(const CEnum2* enumeration) {
    const long chosen = GetCurSelCode();
    clear();
    addItem(QString(), QVariant::fromValue<qlonglong>(kNone));
    if (!enumeration)
        return;
    QList<QPair<long, QString>> items;
    POSITION pos = enumeration->InitScan_sEnum2();
    while (enumeration->ScanNext_sEnum2(pos))
        if (const sEnum2* item = enumeration->Current_sEnum2(pos))
            items.append({item->GetCode(), item->GetText()});
    if (m_sorted) {
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::stable_sort(items.begin(), items.end(), [&](const auto& a, const auto& b) {
            return collator.compare(a.second, b.second) < 0;
        });
    }
    for (const auto& item : items)
        AddItem(item.first, item.second);
    if (chosen != kNone)
        SetCurSelCode(chosen);
}

void CxComboList::AddItem(long code, const QString& text) {
    addItem(text, QVariant::fromValue<qlonglong>(code));
}

long CxComboList::GetCurSelCode() const {
    return currentIndex() < 0 ? kNone : long(currentData().toLongLong());
}

void CxComboList::SetCurSelCode(long code) {
    const int index = findData(QVariant::fromValue<qlonglong>(code));
    if (index >= 0) {
        setCurrentIndex(index);
        return;
    }
    addItem(CTarvikApp::TranslateString(QStringLiteral("(неизвестное значение %1)"),
                                        QStringLiteral("msgUnknownCode"), 1)
                .arg(code),
            QVariant::fromValue<qlonglong>(code));
    setCurrentIndex(count() - 1);
}

void CxComboList::OnLast() {
    if (count() > 0)
        setCurrentIndex(count() - 1);
}

void CxComboList::DX(CDXX& dx, const CxField* field, int flags) {
    const QString name = CDXX::FieldName(field);
    dx.Note(name, this);
    if (dx.Failed() || name.isEmpty())
        return;
    if (dx.IsLoad()) {
        if (dx.FieldIsNull(name))
            setCurrentIndex(findData(QVariant::fromValue<qlonglong>(kNone)));
        else
            SetCurSelCode(long(dx.FieldText(name).trimmed().toLongLong()));
        return;
    }
    const long code = GetCurSelCode();
    if (code == kNone && (flags & DXF_REQUIRED)) {
        dx.Fail(this, CTarvikApp::TranslateString(QStringLiteral("Выберите значение из списка."),
                                                  QStringLiteral("msgChooseFromList"), 1));
        return;
    }
    dx.StoreValue(name, code == kNone ? QString() : QString::number(code), true);
}
