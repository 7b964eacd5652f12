#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

// What every fuzz target shares: a broken property aborts with a message, which libFuzzer
// reports as a crash and keeps the input that caused it.
namespace brevnote::fuzz {

[[noreturn]] inline void fail(const char *property, const char *file, int line,
                              const QString &detail = QString()) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, property);
    if (!detail.isEmpty())
        std::fprintf(stderr, "  %s\n", detail.toUtf8().constData());
    std::abort();
}

// Quotes a text with its non-ASCII and control characters escaped, for failure messages.
inline QString shown(const QString &text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F && c != u'\\')
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return out + u'"';
}

// A folder of this process only (mode 0700, below TMPDIR), removed at exit; targets that
// read files write them here and nowhere else.
inline const QTemporaryDir &privateFolder() {
    static const QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/brevnote-fuzz-XXXXXX"));
    if (!folder.isValid())
        fail("the private temporary folder can be created", __FILE__, __LINE__);
    return folder;
}

// Writes the input to a file of the private folder and returns its path.
inline QString inputFile(const QString &name, const QByteArray &bytes) {
    const QString path = privateFolder().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("the input file can be written", __FILE__, __LINE__, path);
    return path;
}

} // namespace brevnote::fuzz

#define FUZZ_CHECK(condition, ...)                                                                 \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::brevnote::fuzz::fail(#condition, __FILE__, __LINE__ __VA_OPT__(, ) __VA_ARGS__);     \
    } while (false)
