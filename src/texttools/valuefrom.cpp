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
    static const QLatin1StringView kTableStart(
        R"(<table border="1" cellspacing="0" cellpadding="7" style="border-collapse: collapse">)");
    QString html;
    html.reserve(qsizetype(kTableStart.size()) + 40 + m_entries.size() * 48);
    if (wrapInPage)
        html += u"<html><body>";
    html += kTableStart;
    html += u"\r\n";
    for (const TRegistro &entry : m_entries) {
        html += u"<tr>\r\n<td>";
        html += entry.Key.toString();
        html += u"<br>";
        html += entry.Value.toString();
        html += u"</td>\r\n</tr>\r\n";
    }
    html += u"</table>\r\n";
    if (wrapInPage)
        html += u"</body></html>\r\n";
    return html;
}

QString GroupLinesHTML(const QStringList &lines, const LineProgress &progress) {
    TValueFrom values;
    const qsizetype total = lines.size();
    for (qsizetype i = 0; i < total; ++i) {
        values.AddValue(lines.at(i), 1, true);
        if (!reportProgress(progress, i + 1, total))
            return {};
    }
    // Hundreds of thousands of distinct lines make a page that takes a while to build.
    QString html;
    if (!runWhileReporting([&] { html = values.ToHTMLTable(true); }, progress, total))
        return {};
    return html;
}

} // namespace brevnote
