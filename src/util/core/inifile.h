#pragma once

#include "util/core/platform.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace brevnote {

// An INI file with the Windows private-profile rules the program's stored files rely on:
// sections and keys matched without regard to case; values trimmed with one pair of quotes
// removed; comments (";") and lines without "=" are no keys; the first of equal sections or
// keys wins; every write replaces the file atomically before returning, keeping every line it
// does not change. Reads answer from memory while the file on disk is unchanged, so a second
// IniFile on the same path sees each write at its next read. Names are trimmed and compared
// after ASCII upper-casing. Writing a key that exists changes only the text after its "=", so
// the key keeps its spelling in the file. A new key goes after the last key line of its
// section (blank and comment lines closing the section stay last); a new section goes at the
// end of the file. An empty header ("[]") starts no section that can be listed or read, but
// its lines are kept.
class IniFile final {
public:
    explicit IniFile(QString fileName);
    ~IniFile();
    IniFile(const IniFile &) = delete;
    IniFile &operator=(const IniFile &) = delete;

    const QString &fileName() const { return m_fileName; }

    // Names as they stand in the file, in file order; a repeated name is listed once, since
    // only its first occurrence is ever read or written.
    QStringList sections() const;
    QStringList keys(const QString &section) const;
    bool sectionExists(const QString &section) const;
    bool valueExists(const QString &section, const QString &key) const;

    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const;
    // Whole decimal number; the default when missing or not a number.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    // Integer text, non-zero meaning true.
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;

    // Writes raise AppError("Cannot create file <name>") when the file cannot be written, and
    // AppError for a name that could not be read back (empty, a line break, a key with "=" or
    // starting with ";" or "["). A value is stored on one line: its line breaks become spaces,
    // and it is quoted when reading would otherwise trim or unquote it. Erasing what does not
    // exist writes nothing.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);
    void eraseKey(const QString &section, const QString &key);
    void eraseSection(const QString &section);

    // Every write has already reached the disk; kept for callers that ask for it.
    void flush();

    // While one exists, reads check the file once, at the first read, and then answer from
    // that state: a pass over thousands of keys costs one look at the file instead of one
    // per read. A write through this IniFile still checks the file before changing it, and
    // later reads see the result. Another instance's writes are seen at the first read of
    // the next batch, or of any read outside one.
    class ReadBatch final {
    public:
        explicit ReadBatch(const IniFile &file);
        ~ReadBatch();
        ReadBatch(const ReadBatch &) = delete;
        ReadBatch &operator=(const ReadBatch &) = delete;

    private:
        const IniFile &m_file;
    };

private:
    struct Document;
    // The value as stored, valid until the next call on this IniFile; nothing when missing.
    std::optional<QStringView> value(const QString &section, const QString &key) const;
    // The parsed file as it stands on disk now; reparsed only when the file has changed.
    Document &current() const;
    // Applies `edit` to the current document and writes the file when it reports a change.
    void change(const std::function<bool(Document &)> &edit);

    QString m_fileName;
    mutable std::unique_ptr<Document> m_document;
    mutable platform::FileStamp m_stamp;
    // Real time (ns) at which the file was last known to hold m_document, m_stamp taken after.
    mutable qint64 m_verifiedAtNs = 0;
    // Open ReadBatch scopes, and whether the file was checked since the outermost one began.
    mutable int m_batchDepth = 0;
    mutable bool m_batchChecked = false;
};

} // namespace brevnote
