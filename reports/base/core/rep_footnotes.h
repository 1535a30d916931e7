#pragma once
// The footnotes block that closes a report page: the template's COMMENT
// section around one COMMENT.DET row per footnote, numbered from 1 in the
// order the run added them. Every report page writes its footnotes this way.
#include <QString>
#include <QStringList>

class CHTMLTemplate;

// Empty when there are no footnotes: the page then shows no block at all.
QString FootnotesHTML(const CHTMLTemplate& tpl, const QStringList& footnotes);
