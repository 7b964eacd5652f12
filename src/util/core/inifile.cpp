#include "util/core/inifile.h"

#include "util/core/apperror.h"
#include "util/core/safefile.h"
#include "util/core/textcodec.h"
#include "util/core/textroutines.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <chrono>
#include <limits>
#include <optional>
#include <vector>

namespace brevnote {

namespace {

// Sections this long get a key index; shorter ones are scanned, which is faster for them.
constexpr qsizetype kIndexedSectionLines = 32;

// Names match after ASCII upper-casing, like every case-blind comparison of the program: a
// wider folding would make the file merge names its callers treat as different.
QString nameKey(const QString &name) {
    return AsciiUpper(name); // shares the name's text when it is upper case already
}

QString nameKey(QStringView name) {
    return AsciiUpper(name.toString());
}

// The name of a section header: "[" first after blanks, the name up to the last "]" (text
// after it is ignored), trimmed. A "[" without "]" starts no section.
std::optional<QStringView> headerName(QStringView line) {
    const QStringView text = TrimBlanksView(line);
    if (!text.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = text.lastIndexOf(u']');
    if (close < 1)
        return std::nullopt;
    return TrimBlanksView(text.sliced(1, close - 1));
}

// The key of a "key=value" line; nothing for blank lines, comments and lines without "=".
std::optional<QStringView> keyOf(QStringView line) {
    const QStringView text = TrimBlanksView(line);
    if (text.isEmpty() || text.front() == u';')
        return std::nullopt;
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0)
        return std::nullopt;
    return TrimBlanksView(text.first(equals));
}

// Whether the line's key (as keyOf finds it) is `wanted`, a trimmed key without "=", looked at
// in place: most reads of a section run this over each of its lines.
bool isKeyLineOf(QStringView line, QStringView wanted) {
    const auto upper = [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; };
    qsizetype at = 0;
    while (at < line.size() && IsBlank(line.at(at)))
        ++at;
    if (line.size() - at < wanted.size() + 1 || line.at(at) == u';')
        return false;
    for (qsizetype i = 0; i < wanted.size(); ++i, ++at) {
        if (upper(line.at(at).unicode()) != upper(wanted.at(i).unicode()))
            return false;
    }
    while (at < line.size() && IsBlank(line.at(at)))
        ++at;
    return at < line.size() && line.at(at) == u'=';
}

bool isQuote(QChar c) {
    return c == u'"' || c == u'\'';
}

QStringView valueOf(QStringView line) {
    QStringView value = TrimBlanksView(line.sliced(line.indexOf(u'=') + 1));
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return value;
}

// A value always stays on its own line: line breaks become spaces, so no value can add keys
// or sections to the file. Quotes are added where trimming and unquoting on reading would
// otherwise change the value (blanks at its ends, or a pair of quotes around it).
QString storedValue(const QString &value) {
    QString text = value;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    if (text.isEmpty())
        return text;
    const bool quoted = text.size() >= 2 && isQuote(text.front()) && text.back() == text.front();
    if (IsBlank(text.front()) || IsBlank(text.back()) || quoted)
        return u'"' + text + u'"';
    return text;
}

bool hasLineBreak(const QString &text) {
    return text.contains(u'\r') || text.contains(u'\n');
}

// Names a write could not store so that they read back: they raise instead of corrupting.
QString sectionToWrite(const QString &section) {
    const QString name = TrimBlanks(section);
    if (name.isEmpty() || hasLineBreak(name))
        throw AppError(QStringLiteral("Invalid INI section name \"%1\"").arg(section));
    return name;
}

QString keyToWrite(const QString &key) {
    const QString name = TrimBlanks(key);
    if (name.isEmpty() || hasLineBreak(name) || name.contains(u'=') || name.front() == u';' ||
        name.front() == u'[')
        throw AppError(QStringLiteral("Invalid INI key name \"%1\"").arg(key));
    return name;
}

qint64 realTimeNs() {
    // File times come from the real clock, never from the program's settable one.
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// File times advance in steps: a kernel tick (a few ms) on most file systems, whole seconds
// (two on FAT) on some. Within one step a rewrite can keep size, time and even a reused inode,
// so a stamp alone proves nothing until the file is older than that step.
qint64 stampStepNs(const platform::FileStamp &stamp) {
    constexpr qint64 second = 1'000'000'000;
    return stamp.modifiedNs % second == 0 ? 2 * second + 100'000'000 : 20'000'000;
}

struct Section {
    QString header; // the header line as it stands
    QString name;   // trimmed, as in the file
    QString key;    // name upper-cased
    QStringList lines;
    mutable std::optional<QHash<QString, qsizetype>> keyIndex; // upper key -> first line

    qsizetype keyLine(const QString &wanted) const {
        if (wanted.isEmpty())
            return -1;
        if (lines.size() <= kIndexedSectionLines) {
            // A key holding "=" can never be a line's key, which ends at its first "=".
            if (wanted.contains(u'='))
                return -1;
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (isKeyLineOf(lines.at(i), wanted))
                    return i;
            }
            return -1;
        }
        if (!keyIndex) {
            keyIndex.emplace();
            keyIndex->reserve(lines.size());
            // Backwards, so the first of equal keys is the one left in the index.
            for (qsizetype i = lines.size() - 1; i >= 0; --i) {
                if (const std::optional<QStringView> found = keyOf(lines.at(i)))
                    keyIndex->insert(nameKey(*found), i);
            }
        }
        return keyIndex->value(nameKey(wanted), -1);
    }
};

QByteArray readBytes(const QString &path, bool *failed) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *failed = true;
        return {};
    }
    QByteArray bytes = file.readAll();
    *failed = file.error() != QFileDevice::NoError;
    return bytes;
}

} // namespace

struct IniFile::Document {
    QByteArray bytes;        // what the file held when this was parsed or written
    bool unreadable = false; // the file exists but could not be read: never write over it
    QStringList preamble;    // lines before the first section
    std::vector<Section> sections;
    QHash<QString, qsizetype> sectionIndex; // upper-cased name -> first section of that name

    static std::unique_ptr<Document> parse(QByteArray fileBytes, bool unreadableFile) {
        auto doc = std::make_unique<Document>();
        QString text = decodeText(fileBytes);
        // A byte-order mark before bytes that are not UTF-8 decodes as three characters (one
        // per byte, as Windows-1252 always decodes).
        if (fileBytes.startsWith("\xEF\xBB\xBF") && text.size() == fileBytes.size())
            text.remove(0, 3);
        doc->bytes = std::move(fileBytes);
        doc->unreadable = unreadableFile;
        for (const QString &line : splitLines(text)) {
            if (const std::optional<QStringView> name = headerName(line)) {
                doc->sections.push_back({line, name->toString(), nameKey(*name), {}, {}});
                continue;
            }
            (doc->sections.empty() ? doc->preamble : doc->sections.back().lines).append(line);
        }
        doc->rebuildIndex();
        return doc;
    }

    // An empty header ("[]") names no section that could ever be written: it stays out of
    // the index, so it is neither listed nor read, while its lines are kept in the file.
    void rebuildIndex() {
        sectionIndex.clear();
        sectionIndex.reserve(qsizetype(sections.size()));
        for (qsizetype i = qsizetype(sections.size()) - 1; i >= 0; --i) {
            if (!sections[std::size_t(i)].key.isEmpty())
                sectionIndex.insert(sections[std::size_t(i)].key, i);
        }
    }

    QByteArray serialize() const {
        QStringList all;
        qsizetype count = preamble.size();
        for (const Section &section : sections)
            count += 1 + section.lines.size();
        all.reserve(count);
        all += preamble;
        for (const Section &section : sections) {
            all.append(section.header);
            all += section.lines;
        }
        const QString text = joinLines(all);
        // In Windows-1252 a text starting with these three characters starts with the bytes
        // of a byte-order mark, which reading drops: such a file is written as UTF-8.
        if (text.startsWith(u"\u00EF\u00BB\u00BF"))
            return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        return encodeText(text);
    }

    qsizetype sectionAt(const QString &name) const { return sectionIndex.value(nameKey(name), -1); }

    const Section *find(const QString &name) const {
        const qsizetype at = sectionAt(name);
        return at < 0 ? nullptr : &sections[std::size_t(at)];
    }

    // `value` as it is to be stored.
    void setValue(const QString &sectionName, const QString &key, const QString &value) {
        const QString line = key + u'=' + value;
        const qsizetype at = sectionAt(sectionName);
        if (at < 0) {
            sections.push_back(
                {u'[' + sectionName + u']', sectionName, nameKey(sectionName), {line}, {}});
            sectionIndex.insert(sections.back().key, qsizetype(sections.size()) - 1);
            return;
        }
        Section &section = sections[std::size_t(at)];
        const qsizetype existing = section.keyLine(key);
        if (existing >= 0) {
            // Only the value changes: the key keeps the spelling it has in the file.
            QString &stored = section.lines[existing];
            stored = stored.first(stored.indexOf(u'=') + 1) + value;
            return; // same key, so the index still holds
        }
        // After the last key line: blank lines and comments that close the section stay last.
        qsizetype insertAt = 0;
        for (qsizetype i = section.lines.size() - 1; i >= 0; --i) {
            if (keyOf(section.lines.at(i))) {
                insertAt = i + 1;
                break;
            }
        }
        section.lines.insert(insertAt, line);
        section.keyIndex.reset();
    }

    bool eraseKey(const QString &sectionName, const QString &key) {
        const qsizetype at = sectionAt(sectionName);
        if (at < 0)
            return false;
        Section &section = sections[std::size_t(at)];
        const qsizetype line = section.keyLine(key);
        if (line < 0)
            return false;
        section.lines.removeAt(line);
        section.keyIndex.reset();
        return true;
    }

    bool eraseSection(const QString &sectionName) {
        const qsizetype at = sectionAt(sectionName);
        if (at < 0)
            return false;
        sections.erase(sections.begin() + at);
        rebuildIndex(); // a later section of the same name now comes first
        return true;
    }
};

IniFile::IniFile(QString fileName)
    : m_fileName(std::move(fileName)) {}

IniFile::~IniFile() = default;

IniFile::Document &IniFile::current() const {
    if (m_batchChecked && m_document)
        return *m_document;
    m_batchChecked = m_batchDepth > 0;
    const qint64 now = realTimeNs();
    const platform::FileStamp stamp = platform::fileStamp(m_fileName);
    if (m_document && stamp == m_stamp &&
        (!stamp.exists || stamp.modifiedNs + stampStepNs(stamp) < m_verifiedAtNs))
        return *m_document;

    bool failed = false;
    QByteArray bytes = stamp.exists ? readBytes(m_fileName, &failed) : QByteArray();
    if (!m_document || failed || m_document->unreadable || bytes != m_document->bytes)
        m_document = Document::parse(std::move(bytes), failed);
    m_stamp = stamp;
    m_verifiedAtNs = now;
    return *m_document;
}

void IniFile::change(const std::function<bool(Document &)> &edit) {
    m_batchChecked = false; // a write always starts from the file as it is now
    Document &doc = current();
    if (doc.unreadable)
        throw AppError(QStringLiteral("Cannot create file %1").arg(m_fileName));
    if (!edit(doc))
        return;
    QByteArray bytes = doc.serialize();
    const qint64 before = realTimeNs();
    try {
        writeFileSafely(m_fileName, bytes);
    } catch (...) {
        m_document.reset(); // the edit never reached the file; read it afresh
        throw;
    }
    // Our own write needs no reparse. Another writer coming in between our rename and our stat
    // would hide behind this stamp, so, as for any stamp younger than one step of the file
    // clock, the next read still compares the content.
    doc.bytes = std::move(bytes);
    m_stamp = platform::fileStamp(m_fileName);
    m_verifiedAtNs = before;
}

QStringList IniFile::sections() const {
    const Document &doc = current();
    QStringList names;
    for (qsizetype i = 0; i < qsizetype(doc.sections.size()); ++i) {
        const Section &section = doc.sections[std::size_t(i)];
        // Each name once, since only the first counts; empty headers are not in the index.
        if (doc.sectionIndex.value(section.key, -1) == i)
            names.append(section.name);
    }
    return names;
}

QStringList IniFile::keys(const QString &section) const {
    QStringList names;
    const Section *found = current().find(TrimBlanks(section));
    if (!found)
        return names;
    QSet<QString> seen;
    for (const QString &line : found->lines) {
        const std::optional<QStringView> key = keyOf(line);
        if (key && !key->isEmpty() && !seen.contains(nameKey(*key))) {
            seen.insert(nameKey(*key));
            names.append(key->toString());
        }
    }
    return names;
}

bool IniFile::sectionExists(const QString &section) const {
    return current().find(TrimBlanks(section)) != nullptr;
}

bool IniFile::valueExists(const QString &section, const QString &key) const {
    const Section *found = current().find(TrimBlanks(section));
    return found && found->keyLine(TrimBlanks(key)) >= 0;
}

std::optional<QStringView> IniFile::value(const QString &section, const QString &key) const {
    const Section *found = current().find(TrimBlanks(section));
    if (!found)
        return std::nullopt;
    const qsizetype line = found->keyLine(TrimBlanks(key));
    if (line < 0)
        return std::nullopt;
    return valueOf(found->lines.at(line));
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const {
    const std::optional<QStringView> found = value(section, key);
    return found ? found->toString() : defaultValue;
}

namespace {
// A whole decimal number with an optional sign; nothing for anything else.
std::optional<qint64> decimalValue(std::optional<QStringView> found) {
    if (!found)
        return std::nullopt;
    const QStringView text = *found;
    const qsizetype start = text.startsWith(u'+') || text.startsWith(u'-') ? 1 : 0;
    if (start == text.size())
        return std::nullopt;
    for (qsizetype i = start; i < text.size(); ++i) {
        if (text.at(i) < u'0' || text.at(i) > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}
} // namespace

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const {
    const std::optional<qint64> number = decimalValue(value(section, key));
    if (!number || *number < std::numeric_limits<int>::min() ||
        *number > std::numeric_limits<int>::max())
        return defaultValue;
    return int(*number);
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const {
    const std::optional<qint64> number = decimalValue(value(section, key));
    return number ? *number != 0 : defaultValue;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value) {
    const QString sectionName = sectionToWrite(section);
    const QString keyName = keyToWrite(key);
    const QString stored = storedValue(value);
    change([&](Document &doc) {
        doc.setValue(sectionName, keyName, stored);
        return true;
    });
}

void IniFile::writeInteger(const QString &section, const QString &key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::eraseKey(const QString &section, const QString &key) {
    const QString sectionName = TrimBlanks(section);
    const QString keyName = TrimBlanks(key);
    change([&](Document &doc) { return doc.eraseKey(sectionName, keyName); });
}

void IniFile::eraseSection(const QString &section) {
    const QString sectionName = TrimBlanks(section);
    change([&](Document &doc) { return doc.eraseSection(sectionName); });
}

void IniFile::flush() {}

IniFile::ReadBatch::ReadBatch(const IniFile &file)
    : m_file(file) {
    ++m_file.m_batchDepth;
}

IniFile::ReadBatch::~ReadBatch() {
    if (--m_file.m_batchDepth == 0)
        m_file.m_batchChecked = false;
}

} // namespace brevnote
