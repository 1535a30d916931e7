#include "start_page.h"

#include "backup_reminder.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "html_news.h"
#include "model/config/configuration.h"

#include <QFrame>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr("CKelda2View::DoDataExchange");

constexpr int kStartPicture = 1268;

// The start-page picture: hands passing on a parcel, painted (the program
// ships no picture files).
QPixmap StartPicture(QSize size) {
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(220, 232, 248));
    sky.setColorAt(1, QColor(250, 252, 255));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(0, 0, size.width(), size.height()), 10, 10);
    const qreal w = size.width(), h = size.height();
    p.setBrush(QColor(210, 40, 50));
    QPainterPath ribbon;
    ribbon.moveTo(w * 0.5, h * 0.22);
    ribbon.cubicTo(w * 0.38, h * 0.05, w * 0.28, h * 0.35, w * 0.5, h * 0.62);
    ribbon.cubicTo(w * 0.72, h * 0.35, w * 0.62, h * 0.05, w * 0.5, h * 0.22);
    p.drawPath(ribbon);
    p.setBrush(QColor(60, 120, 200));
    p.drawEllipse(QPointF(w * 0.22, h * 0.55), h * 0.12, h * 0.12);
    p.drawRoundedRect(QRectF(w * 0.12, h * 0.68, w * 0.2, h * 0.3), 12, 12);
    p.setBrush(QColor(70, 160, 120));
    p.drawEllipse(QPointF(w * 0.78, h * 0.55), h * 0.12, h * 0.12);
    p.drawRoundedRect(QRectF(w * 0.68, h * 0.68, w * 0.2, h * 0.3), 12, 12);
    return picture;
}
} // namespace

CKelda2View::CKelda2View(QWidget* parent)
    : CxWelcomeForm(parent), m_news(new CHTMLNews(this)), m_picture(new CHTMLStatic(this)) {
    RegisterHTMLPicture(kStartPicture, QSize(246, 150), StartPicture);
    setWindowTitle(Tr("Главное окно"));
    m_news->setObjectName(QStringLiteral("news"));
    m_news->setMinimumHeight(140);
    Content()->addWidget(m_news, 1);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    Content()->addWidget(line);
    m_picture->setObjectName(QStringLiteral("picture"));
    m_picture->SetTransparent(true, 0x40000);
    m_picture->DisableScroll(3);
    Content()->addWidget(m_picture);
}

QString CKelda2View::NewsAddress() {
    return QStringLiteral("https://kelda2.example/news/");
}

QString CKelda2View::OrganisationAddress() {
    return QStringLiteral("https://velmar.example");
}

QString CKelda2View::MakerAddress() {
    return QStringLiteral("https://kelda2.example");
}

bool CKelda2View::OnInitialUpdate() {
    FillPage();
    return CxWelcomeForm::OnInitialUpdate();
}

void CKelda2View::OnInitialSetTitle(CxDocument* document) {
    if (document)
        document->SetTitle(windowTitle());
}

void CKelda2View::FillPage() {
    m_picture->SetHTML(QStringLiteral("<table border=0 align=center><tr><td width=246><img "
                                      "idres=\"%1\"></td></tr><tr><td align=center><a "
                                      "href=\"%2\">%2</a></td></tr></table>")
                           .arg(kStartPicture)
                           .arg(OrganisationAddress()));
    m_news->SetURL(NewsAddress());
    m_picture->setFixedHeight(qMax(m_picture->GetMinHeight(), 190));

    ClearLinks();
    AddLinkTitle(Tr("Перейти"));
    AddLink(Tr("Перейти на сайт Велмара"), OrganisationAddress());
    AddLink(Tr("Перейти на сайт разработчика"), MakerAddress());
    AddLinkBreak();
    AddLinkTitle(Tr("Открыть"));
    AddLink(Tr("Клиенты проекта"), QStringLiteral("opendoc:CJClients"));
    AddLink(Tr("Ежедневные формы"), QStringLiteral("opendoc:CJDiaryMain"));
    UpdateLinks();

    const int count = CountBackupReminderDay(QDate::currentDate());
    long reminder = 0;
    if (auto* config = dynamic_cast<xConfiguration*>(CTarvikApp::GetConfig()))
        reminder = config->Periods.BackupReminder;
    if (IsBackupReminderDue(count, reminder))
        CTarvikApp::AddAppQuery(BackupReminderAddress());
}
