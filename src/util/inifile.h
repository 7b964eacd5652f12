#pragma once

#include "platform.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace brevnote {

// An INI file with the Windows private-profile rules the program's stored files rely on:
// sections and keys matched without regard to case; values trimmed with one pair of quotes
// removed; comments (";") and lines without "=" are no keys; the first of equal sections or
// keys wins; every write replaces the file atomically before returning, keeping every line it
// does not change. Reads answer from memory while the file on disk is unchanged, so a second
// IniFile on the same path sees each write at its next read.
class IniFile final {
public:
    explicit IniFile(QString fileName);
    ~IniFile();
    IniFile(const IniFile &) = delete;
    IniFile &operator=(const IniFile &) = delete;

    const QString &fileName() const { return m_fileName; }

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

    // Writes raise AppError("Cannot create file <name>") when the file cannot be written.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);
    void eraseKey(const QString &section, const QString &key);
    void eraseSection(const QString &section);

    // Every write has already reached the disk; kept for callers that ask for it.
    void flush();

private:
    struct Document;
    const Document &current() const;

    QString m_fileName;
    mutable std::unique_ptr<Document> m_document;
    mutable platform::FileStamp m_stamp;
};

} // namespace brevnote
