#pragma once
// The start page: links into the journals and to the web sites of the
// commissioning organisation and of the program's makers, the news, a
// picture with the organisation's link, and the reminder of an old backup.
#include "framework/core/documents/document.h"
#include "framework/widgets/documents/welcome_form.h"

class CHTMLNews;
class CHTMLStatic;

class CKelda2Doc : public CxDocument {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CKelda2Doc(QObject* parent = nullptr) : CxDocument(parent) {}
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }
};

class CKelda2View : public CxWelcomeForm {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CKelda2View(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    bool OnInitialUpdate() override;
    void OnInitialSetTitle(CxDocument* document) override;
    // Fills the page: the picture, the news, the links and the backup count.
    void FillPage();

    CHTMLNews* News() const { return m_news; }
    CHTMLStatic* Picture() const { return m_picture; }

    static QString NewsAddress();
    static QString OrganisationAddress();
    static QString MakerAddress();

private:
    CHTMLNews* m_news;
    CHTMLStatic* m_picture;
};
