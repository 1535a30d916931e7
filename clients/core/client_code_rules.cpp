#include "client_code_rules.h"

#include "sql_run.h"

#include "framework/core/table/safe_sql.h"

#include <limits>

namespace {
// The C library's decimal conversion, which the code check was defined by:
// leading blanks and a sign are taken, the number ends at the first
// non-digit, no digits give 0.
long long CInt(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' ||
                               text[i] == u'\r' || text[i] == u'\v' || text[i] == u'\f'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        if (value < std::numeric_limits<long long>::max() / 10)
            value = value * 10 + (text[i].unicode() - u'0');
    }
    return negative ? -value : value;
}

QString FirstLetterUpper(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || !trimmed[0].isLetter())
        return QString();
    return trimmed.left(1).toUpper();
}
} // namespace

QString ClientCodeForRules(const QString& code) {
    const qsizetype quote = code.indexOf(u'`');
    return quote < 0 ? code : code.left(quote);
}

QString CardSexLetter(int sex) {
    switch (sex) {
    case kSexFemale:
        return QStringLiteral("ж");
    case kSexMale:
        return QStringLiteral("ч");
    case kSexTrans:
        return QStringLiteral("т");
    default:
        return QStringLiteral("-");
    }
}

CRuleVerdict CheckClientCode(const QString& code, const QString& birthYearText, int sex) {
    const QString checked = ClientCodeForRules(code);
    if (checked.size() != 8)
        return CRuleVerdict::Refuse(
            EClientField::ClientCode, QStringLiteral("msgInvalidCodeLength"),
            ClientRuleText("Длина кода клиента должна быть равна 8 символам.",
                           "msgInvalidCodeLength"));

    CRuleVerdict verdict;
    // Day digits, year digits, sex letter.
    const QString tail = checked.right(5);
    const long long day = CInt(QStringView(tail).mid(0, 2));
    const long long yearDigits = CInt(QStringView(tail).mid(2, 2));
    const QString codeSex = tail.right(1).toLower();

    if (yearDigits != CInt(birthYearText) % 100)
        verdict = CRuleVerdict::Refuse(
            EClientField::ClientCode, QStringLiteral("msgInalidClientCodeYear"),
            ClientRuleText("Год рождения указанный в коде клиента, не соответствует году "
                           "рождения в карточке.",
                           "msgInalidClientCodeYear"));

    // Rebuilding the digits catches anything but two plain digits in each place,
    // except a minus before one digit ("-5" reads as -5 and prints as "-5"):
    // a negative number is no day and no year either.
    const QString rebuilt = QString::asprintf("%02lld%02lld", day, yearDigits) + tail.right(1);
    if (rebuilt != tail || day < 0 || yearDigits < 0)
        return CRuleVerdict::Refuse(EClientField::ClientCode,
                                    QStringLiteral("msgInvalidClientCodeOther"),
                                    ClientRuleText("Ошибка в первых буквах или дате рождения.",
                                                   "msgInvalidClientCodeOther"));

    if (CardSexLetter(sex) != codeSex)
        verdict = CRuleVerdict::Refuse(
            EClientField::ClientCode, QStringLiteral("msgInvalidClientCodeSex"),
            ClientRuleText("Пол клиента в карточке, не соответствует полу указанному в коде.",
                           "msgInvalidClientCodeSex"));
    return verdict;
}

QString NewCodeExplanation() {
    // Line breaks, tabs and blanks as the text has always been shown.
    static const char text[] =
        "Новый код клиентов строится следующим образом:\t\t\n"
        "<b>И М О ДР ГР П</b>\n"
        "\n"
        "<b>И</b> – первая буква полного имени клиента\t\t\n"
        "<b>М</b> – первая буква полного имени матери клиента\t\t\n"
        " <b>О</b> – первая буква полного имени отца клиента\t\t\n"
        " <b>ДР</b> – две цифры – число рождения клиента\t\t\n"
        "<b>ГР</b> – две цифры – две последние цифры года рождения клиента\t\t\n"
        " <b>П</b> - буква, пол клиента (Ч/Ж/Т)\t\t\n"
        "Язык - украинский \n"
        "\n"
        "Если Вы уверены, что код введен правильно, Вы можете <a "
        "href='command:forceapply'>сохранить карточку как есть</a>.  \n"
        "<font color='red'>Важно! В дальнейшем, этих клиентов необходимо перекодировать "
        "согласно новой кодировкие.</font>";
    return ClientRuleText(text, "msgNewCodeMSG");
}

CClientCodeSave DecideClientCodeSave(const QString& typedCode, const QString& birthYearText,
                                     int sex, const QString& oldCode, bool forceApply) {
    CClientCodeSave save;
    save.code = typedCode.trimmed();
    save.check = CheckClientCode(save.code, birthYearText, sex);
    save.bNewCode = save.check.ok ? 1 : 0;
    // The whole code, suffix included, is compared with the old code.
    if (!save.check.ok && save.code != oldCode) {
        if (forceApply) {
            save.action = ECodeSaveAction::Ask;
            save.question = ClientRuleText("Код клиента не соответствует установленной "
                                           "кодировке, Вы действительно желаете сохранить "
                                           "карточку?",
                                           "msgInvalidClientCodeShure");
        } else {
            save.action = ECodeSaveAction::Refuse;
            save.errorListHtml = QStringLiteral("<h3>") + save.check.text +
                                 QStringLiteral("</h3>\r\n\r\n") + NewCodeExplanation();
        }
    }
    save.oClientCode = oldCode.isEmpty() ? save.code : oldCode;
    return save;
}

QString SuggestClientCode(const QString& clientName, const QString& motherName,
                          const QString& fatherName, const QDate& birthDate, int sex,
                          const QString& birthYearText) {
    const QString letters =
        FirstLetterUpper(clientName) + FirstLetterUpper(motherName) + FirstLetterUpper(fatherName);
    if (letters.size() != 3 || !birthDate.isValid() || birthDate.year() < 1 ||
        (sex != kSexMale && sex != kSexFemale && sex != kSexTrans))
        return QString();
    const QString code = letters +
                         QString::asprintf("%02d%02d", birthDate.day(), birthDate.year() % 100) +
                         CardSexLetter(sex).toUpper();
    return CheckClientCode(code, birthYearText, sex).ok ? code : QString();
}

bool FindOtherClientWithCode(CxSQL* sql, const QString& code, qint64 ownClientId, qint64* otherId,
                             QString* error) {
    *otherId = 0;
    CxResult r;
    if (!RunClientSQL(sql,
                      QStringLiteral("SELECT ROWID FROM clientdata WHERE cClientCode=") +
                          SafeSQL(code) + QStringLiteral(" AND ROWID<>") +
                          QString::number(ownClientId) + QStringLiteral(" LIMIT 1"),
                      &r, error))
        return false;
    if (r.FetchRow())
        *otherId = r.LFieldValue(0);
    return true;
}

QString DuplicateCodeWarningHtml() {
    return QStringLiteral("<h2><font color=red><b>%1</b></font></h2>")
        .arg(ClientRuleText("Клиент уже есть в базе данных", "CDClientsBase::OnXFocus"));
}

bool CheckClientCodeFree(CxSQL* sql, const QString& code, qint64 ownClientId, CRuleVerdict* verdict,
                         QString* error) {
    *verdict = CRuleVerdict();
    qint64 otherId = 0;
    if (!FindOtherClientWithCode(sql, code, ownClientId, &otherId, error))
        return false;
    if (otherId) {
        QString text = ClientRuleText("Клиент с кодом {code} уже есть в базе данных. Сохранить "
                                      "карточку с таким же кодом нельзя: измените код клиента.",
                                      "msgClientCodeTaken");
        text.replace(QLatin1String("{code}"), code);
        *verdict = CRuleVerdict::Refuse(EClientField::ClientCode,
                                        QStringLiteral("msgClientCodeTaken"), text);
    }
    return true;
}
