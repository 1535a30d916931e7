#include "status_bar.h"

#include "framework/core/sql_connection.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLibrary>
#include <QTimer>

namespace {
// Lock-key state from the X keyboard extension when the program runs on X11;
// libX11 is loaded only then, so the program needs no X11 to build or run.
int LockKeysMask() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return -1;
    using GetState = int (*)(void*, unsigned, unsigned*);
    static GetState getState = reinterpret_cast<GetState>(
        QLibrary::resolve(QStringLiteral("X11"), 6, "XkbGetIndicatorState"));
    if (!getState)
        return -1;
    unsigned state = 0;
    constexpr unsigned kUseCoreKbd = 0x0100;
    if (getState(x11->display(), kUseCoreKbd, &state) != 0)
        return -1;
    return int(state);
}

QString PaneText(unsigned id) {
    switch (id) {
    case CxStatusBar::ID_INDICATOR_CAPS:
        return QStringLiteral("CAP");
    case CxStatusBar::ID_INDICATOR_NUM:
        return QStringLiteral("NUM");
    case CxStatusBar::ID_INDICATOR_SCRL:
        return QStringLiteral("SCRL");
    default:
        return QString();
    }
}
} // namespace

CxStatusBar::CxStatusBar(QWidget* parent) : QStatusBar(parent) {
    m_connection = new QLabel(
        QStringLiteral("Нет соединения с сервером базы данных — идёт повторное подключение…"),
        this);
    m_connection->setObjectName(QStringLiteral("ConnectionState"));
    m_connection->setStyleSheet(QStringLiteral("QLabel { color: white; background: #b00020; "
                                               "padding: 0 6px; }"));
    m_connection->setVisible(false);
    addPermanentWidget(m_connection);
    RequestForNotify(QString::fromLatin1(kSQLConnectionChannel), QString());
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &CxStatusBar::UpdateIndicators);
    timer->start(500);
}

bool CxStatusBar::SetIndicators(const QList<unsigned>& ids) {
    for (unsigned id : ids)
        if (id != ID_SEPARATOR && PaneText(id).isEmpty())
            return false;
    m_ids = ids;
    for (unsigned id : ids) {
        if (id == ID_SEPARATOR) {
            // The idle text; command tips show over it for a while.
            auto* pane = new QLabel(QStringLiteral("Готово"), this);
            addWidget(pane, 1);
            m_panes.insert(id, pane);
            continue;
        }
        auto* pane = new QLabel(PaneText(id), this);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
        pane->setFrameShape(QFrame::StyledPanel);
        pane->setFrameShadow(QFrame::Sunken);
        addPermanentWidget(pane);
        m_panes.insert(id, pane);
    }
    UpdateIndicators();
    return true;
}

void CxStatusBar::UpdateIndicators() {
    const int mask = LockKeysMask();
    // Caps, Num and Scroll Lock are the first three keyboard indicators.
    const QHash<unsigned, int> bits{
        {ID_INDICATOR_CAPS, 1}, {ID_INDICATOR_NUM, 2}, {ID_INDICATOR_SCRL, 4}};
    for (auto it = m_panes.cbegin(); it != m_panes.cend(); ++it)
        if (it.key() != ID_SEPARATOR)
            it.value()->setEnabled(mask >= 0 && (mask & bits.value(it.key())));
}

void CxStatusBar::OnNotify(const QString&, const QString& message) {
    if (message.compare(QLatin1String(kSQLConnectionLost), Qt::CaseInsensitive) == 0) {
        m_connection->setVisible(true);
    } else if (message.compare(QLatin1String(kSQLConnectionRestored), Qt::CaseInsensitive) == 0) {
        m_connection->setVisible(false);
        showMessage(QStringLiteral("Соединение с сервером базы данных восстановлено"), 10000);
    }
}
