#include "change_journal_view.h"

#include "change_journal_model.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/error_text.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr("CvLogRefView");
} // namespace

CvLogRefView::CvLogRefView(CxSQL* sql, QWidget* parent) : CxDialog(parent) {
    setWindowTitle(Tr("Журнал изменений"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    m_model = new CvLogRefModel(sql ? sql : g_pBaseSQLConnection.get(), this);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    m_view = new QTableView(splitter);
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->setWordWrap(false);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->setColumnWidth(CvLogRefModel::kDate, 130);
    m_view->setColumnWidth(CvLogRefModel::kUser, 110);
    m_view->setColumnWidth(CvLogRefModel::kSource, 220);
    m_view->setColumnWidth(CvLogRefModel::kCaption, 220);
    m_detail = new QPlainTextEdit(splitter);
    m_detail->setReadOnly(true);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);
    m_error = new CxErrorText(this, 3);
    layout->addWidget(m_error);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(Tr("Закрыть"));
    QPushButton* reload = buttons->addButton(Tr("Обновить"), QDialogButtonBox::ActionRole);
    connect(reload, &QPushButton::clicked, this, &CvLogRefView::Reload);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CvLogRefView::ShowCurrent);
    connect(m_model, &QAbstractItemModel::modelReset, this, &CvLogRefView::ShowCurrent);
    connect(m_model, &CvLogRefModel::readFailed, this, [this](const QString& error) {
        m_error->SetText(Tr("Не удалось прочитать журнал изменений:") + u'\n' + error);
    });
    resize(860, 520);
    Reload();
}

void CvLogRefView::Reload() {
    m_error->SetText(QString());
    m_model->Reload();
    if (m_model->rowCount() > 0) {
        m_view->setCurrentIndex(m_model->index(0, 0));
        m_view->resizeColumnToContents(CvLogRefModel::kDate);
    }
    ShowCurrent();
}

QString CvLogRefView::DetailText() const {
    return m_detail->toPlainText();
}

void CvLogRefView::ShowCurrent() {
    const QModelIndex current = m_view->currentIndex();
    if (!current.isValid()) {
        m_detail->clear();
        return;
    }
    const CvLogEntry& entry = m_model->Entry(current.row());
    m_detail->setPlainText(entry.caption + u'\n' + entry.text);
}
