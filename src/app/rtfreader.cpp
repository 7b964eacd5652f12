#include "rtfreader.h"

#include "util/core/textcodec.h"

#include <QList>
#include <QSet>

namespace brevnote {

namespace {

bool isAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

int hexValue(QChar c) {
    if (isAsciiDigit(c))
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// Destinations whose text is not part of the document's text.
const QSet<QString> &skippedDestinations() {
    static const QSet<QString> names = {
        QStringLiteral("fonttbl"),    QStringLiteral("colortbl"),
        QStringLiteral("stylesheet"), QStringLiteral("info"),
        QStringLiteral("pict"),       QStringLiteral("object"),
        QStringLiteral("listtable"),  QStringLiteral("listoverridetable"),
        QStringLiteral("rsidtbl"),    QStringLiteral("generator")};
    return names;
}

class RtfReader final {
public:
    explicit RtfReader(const QString &rtf)
        : m_rtf(rtf) {}

    QString read() {
        while (m_pos < m_rtf.size()) {
            const QChar c = m_rtf.at(m_pos);
            if (c == u'{') {
                m_groups.append(m_group);
                m_fallbackLeft = 0;
                ++m_pos;
            } else if (c == u'}') {
                if (!m_groups.isEmpty())
                    m_group = m_groups.takeLast();
                m_fallbackLeft = 0;
                ++m_pos;
            } else if (c == u'\\') {
                readControl();
            } else {
                // Line breaks in the source only wrap the file; \par marks the real ones.
                if (c != u'\r' && c != u'\n')
                    addText(c);
                ++m_pos;
            }
        }
        return savable(m_out);
    }

private:
    // The pad must be able to save what it shows and read it back: a NUL (\'00, \u0) would
    // make the saved file one that "Abrir" refuses, and half of a surrogate pair (a lone \uN)
    // has no UTF-8 form. NULs are dropped, lone halves become U+FFFD.
    static QString savable(const QString &text) {
        QString out;
        out.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c.isNull())
                continue;
            if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                out += c;
                out += text.at(++i);
            } else {
                out += c.isSurrogate() ? QChar(QChar::ReplacementCharacter) : c;
            }
        }
        return out;
    }

    struct Group {
        bool skip = false;
        int fallbackLength = 1; // \ucN
    };

    void addText(QChar c) {
        if (m_fallbackLeft > 0) {
            --m_fallbackLeft;
            return;
        }
        if (!m_group.skip)
            m_out.append(c);
    }

    // A character that a control word stands for; it ends any pending fallback.
    void addControlText(QChar c) {
        m_fallbackLeft = 0;
        if (!m_group.skip)
            m_out.append(c);
    }

    void readControl() {
        const qsizetype start = m_pos + 1;
        if (start >= m_rtf.size()) {
            m_pos = start;
            return;
        }
        const QChar symbol = m_rtf.at(start);
        if (isAsciiLetter(symbol)) {
            readControlWord(start);
            return;
        }
        m_pos = start + 1;
        switch (symbol.unicode()) {
        case u'\\':
        case u'{':
        case u'}':
            addText(symbol);
            break;
        case u'\'':
            readHexByte();
            break;
        case u'*':
            // An optional destination: this reader knows none, so the group is skipped.
            m_group.skip = true;
            break;
        case u'~':
            addText(QChar(0x00A0));
            break;
        case u'_':
            addText(u'-');
            break;
        case u'\r':
        case u'\n':
            addControlText(u'\n');
            break;
        default:
            break; // \- optional hyphen, \| and the like carry no text
        }
    }

    void readHexByte() {
        if (m_pos + 2 > m_rtf.size()) {
            m_pos = m_rtf.size();
            return;
        }
        const int high = hexValue(m_rtf.at(m_pos));
        const int low = hexValue(m_rtf.at(m_pos + 1));
        if (high < 0 || low < 0)
            return;
        m_pos += 2;
        const QByteArray byte(1, static_cast<char>(high * 16 + low));
        addText(decodeWindows1252(byte).at(0));
    }

    void readControlWord(qsizetype start) {
        qsizetype pos = start;
        while (pos < m_rtf.size() && isAsciiLetter(m_rtf.at(pos)))
            ++pos;
        const QString word = m_rtf.sliced(start, pos - start);
        bool hasParameter = false;
        long long parameter = 0;
        bool negative = false;
        if (pos < m_rtf.size() && m_rtf.at(pos) == u'-' && pos + 1 < m_rtf.size() &&
            isAsciiDigit(m_rtf.at(pos + 1))) {
            negative = true;
            ++pos;
        }
        while (pos < m_rtf.size() && isAsciiDigit(m_rtf.at(pos))) {
            hasParameter = true;
            // Clamp absurd numbers rather than overflow.
            if (parameter < 100000000)
                parameter = parameter * 10 + (m_rtf.at(pos).unicode() - u'0');
            ++pos;
        }
        if (negative)
            parameter = -parameter;
        // A single blank ends the control word and belongs to it.
        if (pos < m_rtf.size() && m_rtf.at(pos) == u' ')
            ++pos;
        m_pos = pos;
        applyControlWord(word, hasParameter, parameter);
    }

    void applyControlWord(const QString &word, bool hasParameter, long long parameter) {
        if (skippedDestinations().contains(word)) {
            m_group.skip = true;
        } else if (word == u"par" || word == u"line") {
            addControlText(u'\n');
        } else if (word == u"tab") {
            addControlText(u'\t');
        } else if (word == u"uc") {
            m_group.fallbackLength = hasParameter ? int(qBound(0LL, parameter, 16LL)) : 1;
        } else if (word == u"u" && hasParameter) {
            // Signed 16-bit values: characters above 32767 are written as negatives.
            const long long code = parameter < 0 ? parameter + 65536 : parameter;
            addControlText(QChar(char16_t(code & 0xFFFF)));
            m_fallbackLeft = m_group.fallbackLength;
        } else if (word == u"bin" && hasParameter && parameter > 0) {
            m_pos = qMin<qsizetype>(m_pos + parameter, m_rtf.size());
        } else if (word == u"emdash") {
            addControlText(QChar(0x2014));
        } else if (word == u"endash") {
            addControlText(QChar(0x2013));
        } else if (word == u"bullet") {
            addControlText(QChar(0x2022));
        } else if (word == u"lquote") {
            addControlText(QChar(0x2018));
        } else if (word == u"rquote") {
            addControlText(QChar(0x2019));
        } else if (word == u"ldblquote") {
            addControlText(QChar(0x201C));
        } else if (word == u"rdblquote") {
            addControlText(QChar(0x201D));
        }
    }

    const QString &m_rtf;
    qsizetype m_pos = 0;
    Group m_group;
    QList<Group> m_groups;
    int m_fallbackLeft = 0;
    QString m_out;
};

} // namespace

bool looksLikeRtf(const QString &text) {
    return text.startsWith(QStringLiteral("{\\rtf"));
}

QString plainTextFromRtf(const QString &rtf) {
    return RtfReader(rtf).read();
}

} // namespace brevnote
