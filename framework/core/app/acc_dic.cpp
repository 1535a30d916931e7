#include "acc_dic.h"

#include "framework/core/tarvik_app.h"

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

namespace {
const QString kSection = QStringLiteral("AutoComplete");
} // namespace

QStringList AccDicWords(const QString& name) {
    const QString stored = CTarvikApp::GetProfileString(kSection, name);
    return stored.isEmpty() ? QStringList() : stored.split(u'\n', Qt::SkipEmptyParts);
}

void AccDicAddWord(const QString& name, const QString& word) {
    AccDicAddWords(name, {word});
}

void AccDicAddWords(const QString& name, const QStringList& words) {
    if (name.isEmpty())
        return;
    const QStringList stored = AccDicWords(name);
    QStringList result;
    for (const QString& word : words) {
        const QString text = word.simplified();
        if (!text.isEmpty() && text.size() <= 200 && !result.contains(text))
            result << text;
    }
    if (result.isEmpty() || stored.mid(0, result.size()) == result)
        return;
    for (const QString& old : stored)
        if (!result.contains(old) && result.size() < kMaxAccDicWords)
            result << old;
    CTarvikApp::WriteProfileString(kSection, name, result.join(u'\n'));
}
