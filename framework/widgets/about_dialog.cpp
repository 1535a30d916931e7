#include "about_dialog.h"

#include "framework/core/app/about_pages.h"
#include "icons.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
QTextBrowser* HtmlPage(const QString& html, QWidget* parent) {
    auto* page = new QTextBrowser(parent);
    page->setOpenExternalLinks(true);
    page->setFrameShape(QFrame::NoFrame);
    page->setHtml(html);
    return page;
}
} // namespace

CAppAboutDlg::CAppAboutDlg(const QString& product, const QString& version, const QString& credits,
                           const QString& extra, int iconId, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("О программе %1").arg(product));
    auto* layout = new QVBoxLayout(this);

    auto* header = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(CxIcons::Get(iconId).pixmap(48, 48));
    header->addWidget(icon, 0, Qt::AlignTop);
    auto* title = new QLabel(QStringLiteral("<b style='font-size:14pt'>%1</b><br>Версия %2")
                                 .arg(product.toHtmlEscaped(), version.toHtmlEscaped()),
                             this);
    title->setObjectName(QStringLiteral("AboutTitle"));
    header->addWidget(title, 1);
    layout->addLayout(header);

    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("AboutTabs"));
    tabs->addTab(HtmlPage(credits + extra, tabs), QStringLiteral("О программе"));

    auto* modules = new QTreeWidget(tabs);
    modules->setObjectName(QStringLiteral("AboutModules"));
    modules->setRootIsDecorated(false);
    modules->setHeaderLabels({QStringLiteral("Модуль")});
    for (CModulesInfo* info : CModulesInfo::All()) {
        const QString text = info->GetAboutString();
        if (!text.isEmpty())
            new QTreeWidgetItem(modules, {text});
    }
    tabs->addTab(modules, QStringLiteral("Модули"));
    for (CAboutSelfReg* page : CAboutSelfReg::All())
        tabs->addTab(HtmlPage(page->GetHTML(), tabs), page->GetTitle());
    layout->addWidget(tabs, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(520, 420);
}
