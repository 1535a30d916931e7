#include "file_edit.h"

#include "framework/core/tarvik_app.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

CxFileEdit::CxFileEdit(Mode mode, QWidget* parent) : QWidget(parent), m_mode(mode) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_edit = new QLineEdit(this);
    layout->addWidget(m_edit, 1);
    m_browse = new QToolButton(this);
    m_browse->setText(QStringLiteral("..."));
    m_browse->setToolTip(
        CTarvikApp::TranslateString(QStringLiteral("Выбрать"), QStringLiteral("CxFileEdit")));
    layout->addWidget(m_browse);
    connect(m_edit, &QLineEdit::textChanged, this, [this] { emit pathChanged(GetPath()); });
    connect(m_browse, &QToolButton::clicked, this, &CxFileEdit::Browse);
}

QString CxFileEdit::GetPath() const {
    const QString text = m_edit->text().trimmed();
    return text.isEmpty() ? QString() : QDir::fromNativeSeparators(text);
}

void CxFileEdit::SetPath(const QString& path) {
    m_edit->setText(QDir::toNativeSeparators(path));
}

QString CxFileEdit::DialogFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2)
        if (!parts[i].isEmpty())
            filters << parts[i];
    filters << CTarvikApp::TranslateString(QStringLiteral("Все файлы"),
                                           QStringLiteral("CxFileEdit")) +
                   QStringLiteral(" (*)");
    return filters.join(QStringLiteral(";;"));
}

void CxFileEdit::Browse() {
    const QString current = GetPath();
    QString chosen;
    switch (m_mode) {
    case Mode::OpenFile:
        chosen = QFileDialog::getOpenFileName(this, QString(), current, DialogFilter(m_filter));
        break;
    case Mode::SaveFile:
        chosen = QFileDialog::getSaveFileName(this, QString(), current, DialogFilter(m_filter));
        break;
    case Mode::Folder:
        chosen = QFileDialog::getExistingDirectory(this, QString(), current);
        break;
    }
    if (!chosen.isEmpty())
        SetPath(chosen);
}
