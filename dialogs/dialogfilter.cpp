#include "dialogs/dialogfilter.h"

#include <algorithm>
#include <optional>

namespace {

// The characters QFileDialog accepts inside the parentheses of a name filter; a pattern with
// any other character would make it read the whole filter, description included, as patterns.
bool isPatternCharacter(QChar c)
{
    static const QString others = QStringLiteral("_.,*?+#-[]@{}/!<>$%&=^~:");
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')
        || others.contains(c);
}

bool isUsablePattern(const QString &pattern)
{
    return !pattern.isEmpty() && std::all_of(pattern.cbegin(), pattern.cend(), isPatternCharacter);
}

QStringList patternsOf(const QString &text)
{
    QStringList patterns;
    for (const QString &part : text.split(u';')) {
        const QString pattern = part.trimmed();
        if (isUsablePattern(pattern))
            patterns << pattern;
    }
    return patterns;
}

// The description shows on one line, and QFileDialog only finds the patterns of a one-line filter.
QString oneLine(const QString &text)
{
    QString line = text;
    for (QChar &c : line) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line
            || c.category() == QChar::Separator_Paragraph)
            c = u' ';
    }
    return line.simplified();
}

struct NameFilter {
    QString description;
    QString filter;
};

// The name filter of one description and pattern pair; nothing when it has no usable pattern.
std::optional<NameFilter> nameFilterOf(const QString &text, const QString &patternText)
{
    const QStringList patterns = patternsOf(patternText);
    if (patterns.isEmpty())
        return std::nullopt;
    QString description = oneLine(text);
    if (description.isEmpty())
        description = patterns.join(u';');
    return NameFilter { description, description + QStringLiteral(" (") + patterns.join(u' ') + u')' };
}

} // namespace

QStringList qtNameFilters(const QString &filter)
{
    QStringList nameFilters;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (const std::optional<NameFilter> nameFilter = nameFilterOf(parts.at(i), parts.at(i + 1)))
            nameFilters << nameFilter->filter;
    }
    return nameFilters;
}

int filterIndexOf(const QString &filter, const QString &nameFilter)
{
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const std::optional<NameFilter> pair = nameFilterOf(parts.at(i), parts.at(i + 1));
        if (pair && (pair->filter == nameFilter || pair->description == nameFilter))
            return int(i / 2 + 1);
    }
    return 0;
}
