#include "delivery/finding.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Findings {

Finding make(Finding::Severity severity, const QString& code, int serial, const QString& element,
             const QString& message) {
    Finding finding;
    finding.severity = severity;
    finding.code = code;
    finding.serial = serial;
    finding.element = element;
    finding.message = message;
    return finding;
}

bool hasErrors(const QList<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Finding::Severity::Error; });
}

QString line(const Finding& finding) {
    const auto orDash = [](const QString& text) { return text.isEmpty() ? u"-"_s : text; };
    QString message = finding.message;
    message.replace(u'\t', u' ').replace(u'\n', u' ');
    const QString severity = finding.severity == Finding::Severity::Error     ? u"error"_s
                             : finding.severity == Finding::Severity::Warning ? u"warning"_s
                                                                              : u"note"_s;
    return severity + u'\t' + finding.code + u'\t' +
           (finding.serial > 0 ? QString::number(finding.serial) : u"-"_s) + u'\t' + orDash(finding.element) +
           u'\t' + message;
}

QString item(const Finding& finding) {
    if (finding.element.isEmpty()) return u"-"_s;
    if (finding.line < 1) return finding.element;
    return finding.element + u"（情報 "_s + QString::number(finding.line) + u" 行目）"_s;
}

} // namespace Findings
