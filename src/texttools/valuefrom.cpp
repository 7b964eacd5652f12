#include "valuefrom.h"

#include "caselogic.h"

namespace brevnote {

namespace {

bool isIntegral(const QVariant &value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

bool isFloating(const QVariant &value) {
    return value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
}

// The table's page, a row at a time: key, "<br>", value, markup kept as it is.
const QLatin1StringView kTableStart(
    R"(<table border="1" cellspacing="0" cellpadding="7" style="border-collapse: collapse">)");

void appendTableStart(QString &html, bool wrapInPage, qsizetype rows) {
    html.reserve(qsizetype(kTableStart.size()) + 40 + rows * 48);
    if (wrapInPage)
        html += u"<html><body>";
    html += kTableStart;
    html += u"\r\n";
}

void appendTableRow(QString &html, QStringView key, QStringView value) {
    html += u"<tr>\r\n<td>";
    html += key;
    html += u"<br>";
    html += value;
    html += u"</td>\r\n</tr>\r\n";
}

void appendTableEnd(QString &html, bool wrapInPage) {
    html += u"</table>\r\n";
    if (wrapInPage)
        html += u"</body></html>\r\n";
}

// What TValueFrom gives for AddValue(line, 1, true) on each line and ToHTMLTable(true), with
// no variant per line: the counts stay integers, the first line of each key names its row,
// an empty line is a row of its own.
template<typename LineAt>
QString groupPage(qsizetype total, const LineAt &lineAt, const LineProgress &progress) {
    std::vector<QStringView> keys;
    std::vector<qsizetype> counts;
    QHash<QString, qsizetype> first;
    for (qsizetype i = 0; i < total; ++i) {
        const QStringView line = lineAt(i);
        bool known = false;
        if (!line.isEmpty()) {
            QString upper = UpperEachChar(line);
            const auto found = first.constFind(upper);
            known = found != first.cend();
            if (known)
                ++counts[size_t(*found)];
            else
                first.insert(std::move(upper), qsizetype(keys.size()));
        }
        if (!known) {
            keys.push_back(line);
            counts.push_back(1);
        }
        if (!reportProgress(progress, i + 1, total))
            return {};
    }
    // Hundreds of thousands of distinct lines make a page that takes a while to build.
    QString html;
    const bool built = runWhileReporting(
        [&] {
            // Freeing a string per distinct line takes a while too: here, not where the
            // windows wait.
            QHash<QString, qsizetype>().swap(first);
            appendTableStart(html, true, qsizetype(keys.size()));
            for (size_t i = 0; i < keys.size(); ++i)
                appendTableRow(html, keys[i], QString::number(counts[i]));
            appendTableEnd(html, true);
        },
        progress, total);
    return built ? html : QString();
}

} // namespace

QVariant AddVariants(const QVariant &left, const QVariant &right) {
    if (isIntegral(left) && isIntegral(right)) {
        const qlonglong sum = left.toLongLong() + right.toLongLong();
        if (left.typeId() == QMetaType::Int && right.typeId() == QMetaType::Int &&
            sum == qlonglong(int(sum)))
            return QVariant(int(sum));
        return QVariant(sum);
    }
    if ((isIntegral(left) || isFloating(left)) && (isIntegral(right) || isFloating(right)))
        return QVariant(left.toDouble() + right.toDouble());
    return QVariant(left.toString() + right.toString());
}

TValueFrom::TValueFrom(QObject *owner)
    : QObject(owner) {}

void TValueFrom::AddValue(const QVariant &key, const QVariant &value, bool accumulate) {
    const qsizetype index = IndexOfKey(key);
    if (index < 0) {
        AppendEntry(key, value);
        return;
    }
    TRegistro &entry = m_entries[index];
    entry.Value = accumulate ? AddVariants(entry.Value, value) : value;
}

qsizetype TValueFrom::IndexOfKey(const QVariant &key) const {
    const QString text = key.toString();
    if (text.isEmpty())
        return -1;
    return m_firstIndex.value(UpperEachChar(text), -1);
}

qsizetype TValueFrom::AppendEntry(const QVariant &key, const QVariant &value) {
    m_entries.append(TRegistro{key, value});
    const qsizetype index = m_entries.size() - 1;
    const QString text = key.toString();
    // Only the first entry of a key is ever found, as a scan from the start would.
    if (!text.isEmpty()) {
        const QString upper = UpperEachChar(text);
        if (!m_firstIndex.contains(upper))
            m_firstIndex.insert(upper, index);
    }
    return index;
}

QString TValueFrom::ToHTMLTable(bool wrapInPage) const {
    QString html;
    appendTableStart(html, wrapInPage, m_entries.size());
    for (const TRegistro &entry : m_entries)
        appendTableRow(html, entry.Key.toString(), entry.Value.toString());
    appendTableEnd(html, wrapInPage);
    return html;
}

QString GroupLinesHTML(const QStringList &lines, const LineProgress &progress) {
    return groupPage(
        lines.size(), [&lines](qsizetype i) { return QStringView(lines.at(i)); }, progress);
}

QString GroupLinesHTML(QStringView text, const std::vector<LineRange> &ranges,
                       const LineProgress &progress) {
    return groupPage(
        qsizetype(ranges.size()),
        [&](qsizetype i) { return text.sliced(ranges[size_t(i)].start, ranges[size_t(i)].length); },
        progress);
}

} // namespace brevnote
