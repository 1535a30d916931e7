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
    const QString text = word.simplified();
    if (name.isEmpty() || text.isEmpty() || text.size() > 200)
        return;
    QStringList words = AccDicWords(name);
    if (!words.isEmpty() && words.first() == text)
        return;
    words.removeAll(text);
    words.prepend(text);
    while (words.size() > kMaxAccDicWords)
        words.removeLast();
    CTarvikApp::WriteProfileString(kSection, name, words.join(u'\n'));
}
