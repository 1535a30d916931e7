#include "framework/core/tarvik_app.h"

#include <QTest>

class TestTranslate : public QObject {
    Q_OBJECT
private slots:
    void translate_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("expected");
        QTest::newRow("default with known key") << "Мужской"
                                                << "msgGen_mujskoyi_566743875"
                                                << "Мужской";
        QTest::newRow("bare known key") << "msgParsingConfig"
                                        << ""
                                        << "Обработка файла конфигурации";
        QTest::newRow("known key as context, key as text")
            << "msgLoadingTowns"
            << "msgLoadingTowns"
            << "Копирование списка населенных пунктов";
        QTest::newRow("unknown key falls back to default") << "Текст"
                                                           << "msgNoSuchKeyAnywhere"
                                                           << "Текст";
        QTest::newRow("class and method context") << "Ошибка чтения"
                                                  << "CDDiary::OnApply"
                                                  << "Ошибка чтения";
        QTest::newRow("unknown bare key answers itself") << "msgNoSuchKeyAnywhere"
                                                         << ""
                                                         << "msgNoSuchKeyAnywhere";
    }
    void translate() {
        QFETCH(QString, text);
        QFETCH(QString, context);
        QFETCH(QString, expected);
        QCOMPARE(CTarvikApp::TranslateString(text, context, 1), expected);
    }
};

QTEST_GUILESS_MAIN(TestTranslate)
#include "test_translate.moc"
