// IniFile on a file of arbitrary bytes: every section and key can be listed and read; a key
// rewritten, a key added, a key erased and a section added each change only their own lines,
// and after each write a fresh reader of the file reads what was written and everything else
// as it was.
#include "fuzzcheck.h"
#include "util/core/apperror.h"
#include "util/core/inifile.h"
#include "util/core/textcodec.h"
#include "util/core/textroutines.h"

#include <QHash>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

using namespace brevnote;

namespace {

// Values that probe quoting, trimming, line breaks and the choice of encoding.
const QStringList kValues = {QString(),
                             QStringLiteral("plain"),
                             QStringLiteral(" padded\t"),
                             QStringLiteral("'q'"),
                             QStringLiteral("\""),
                             QStringLiteral("a\r\nb\rc\nd"),
                             QStringLiteral("[s]"),
                             QStringLiteral("; k=v"),
                             QStringLiteral("Olá €"),
                             QStringLiteral("日本"),
                             QStringLiteral("\u00C3\u00A9"),
                             QStringLiteral("\u00EF\u00BB\u00BFx")};

struct Entry {
    QString section;
    QString key;
    QString value;
    bool operator==(const Entry &) const = default;
};

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The lines of the file as IniFile reads them (a byte-order mark before bytes that are not
// UTF-8 is no text).
QStringList fileLines(const QString &path) {
    const QByteArray bytes = fileBytes(path);
    QString text = decodeText(bytes);
    if (bytes.startsWith("\xEF\xBB\xBF") && text.size() == bytes.size())
        text.remove(0, 3);
    return splitLines(text);
}

// Everything a reader can see: each listed section, each listed key, its value.
QList<Entry> everything(const IniFile &ini) {
    QList<Entry> entries;
    for (const QString &section : ini.sections()) {
        FUZZ_CHECK(ini.sectionExists(section), fuzz::shown(section));
        for (const QString &key : ini.keys(section)) {
            FUZZ_CHECK(ini.valueExists(section, key), fuzz::shown(key));
            entries.append({section, key, ini.readString(section, key)});
            ini.readInteger(section, key, 0);
            ini.readBool(section, key, false);
        }
    }
    return entries;
}

// A value is stored on one line: each line break (CR LF counting as one) becomes a space.
QString oneLine(QString value) {
    value.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    return value;
}

bool sameNames(const QString &a, const QString &b) {
    return AsciiUpper(a) == AsciiUpper(b);
}

// The entries without those of one key.
QList<Entry> without(QList<Entry> entries, const QString &section, const QString &key) {
    entries.removeIf(
        [&](const Entry &e) { return sameNames(e.section, section) && sameNames(e.key, key); });
    return entries;
}

bool isRemovedFrom(const QStringList &longer, const QStringList &shorter) {
    if (longer.size() != shorter.size() + 1)
        return false;
    qsizetype at = 0;
    while (at < shorter.size() && longer.at(at) == shorter.at(at))
        ++at;
    return longer.sliced(at + 1) == shorter.sliced(at);
}

qsizetype differingLines(const QStringList &a, const QStringList &b) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        count += a.at(i) != b.at(i);
    return count;
}

enum class Change { Replaced, Inserted, Removed, Appended };

// Runs one write and checks what it may change: its own line only, everything else as it was,
// and a fresh reader sees it all. Names a write refuses leave the file as it was.
void checkWrite(IniFile &ini, const std::function<void()> &write, Change change,
                const QString &section, const QString &key, std::optional<QString> readBack) {
    const QString path = ini.fileName();
    const QByteArray bytesBefore = fileBytes(path);
    const QStringList before = fileLines(path);
    const QList<Entry> entriesBefore = everything(ini);
    try {
        write();
    } catch (const AppError &error) {
        FUZZ_CHECK(TrimBlanks(section).isEmpty() || key.startsWith(u'['), error.message());
        FUZZ_CHECK(fileBytes(path) == bytesBefore);
        return;
    }
    const QStringList after = fileLines(path);
    switch (change) {
    case Change::Replaced:
        FUZZ_CHECK(after.size() == before.size() && differingLines(before, after) <= 1,
                   fuzz::shown(after.join(u'|')));
        break;
    case Change::Inserted:
        FUZZ_CHECK(isRemovedFrom(after, before), fuzz::shown(after.join(u'|')));
        break;
    case Change::Removed:
        FUZZ_CHECK(isRemovedFrom(before, after), fuzz::shown(after.join(u'|')));
        break;
    case Change::Appended:
        FUZZ_CHECK(after.size() == before.size() + 2 && after.first(before.size()) == before,
                   fuzz::shown(after.join(u'|')));
        break;
    }

    const IniFile fresh(path);
    const QList<Entry> entriesAfter = everything(fresh);
    FUZZ_CHECK(entriesAfter == everything(ini));
    FUZZ_CHECK(without(entriesAfter, section, key) == without(entriesBefore, section, key));
    if (readBack) {
        FUZZ_CHECK(fresh.readString(section, key, QStringLiteral("<missing>")) == *readBack,
                   fuzz::shown(fresh.readString(section, key)) + QStringLiteral(" != ") +
                       fuzz::shown(*readBack));
    }
}

// A name the file does not use yet.
QString unusedName(const QString &stem, const std::function<bool(const QString &)> &used) {
    for (int n = 0;; ++n) {
        const QString name = stem + QString::number(n);
        if (!used(name))
            return name;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = fuzz::inputFile(QStringLiteral("fuzz.ini"), bytes);
    // The choices below follow from the input, so a finding can be replayed.
    std::size_t pick = qHash(bytes);
    const auto next = [&pick](qsizetype count) {
        const qsizetype chosen = qsizetype(pick % std::size_t(count));
        pick = pick / std::size_t(count) + 0x9E3779B9u;
        return chosen;
    };

    IniFile ini(path);
    const QList<Entry> entries = everything(ini);
    const QStringList sections = ini.sections();
    // The file's last line is one more value to store: any text a file can hold.
    const QStringList lines = fileLines(path);
    QStringList values = kValues;
    if (!lines.isEmpty())
        values.append(lines.last());
    const auto value = [&] { return values.at(next(values.size())); };

    if (!entries.isEmpty()) {
        const Entry &target = entries.at(next(entries.size()));
        const QString v = value();
        checkWrite(
            ini, [&] { ini.writeString(target.section, target.key, v); }, Change::Replaced,
            target.section, target.key, oneLine(v));
    }
    if (!sections.isEmpty()) {
        const QString section = sections.at(next(sections.size()));
        const QString key = unusedName(QStringLiteral("FuzzKey"), [&](const QString &name) {
            return ini.valueExists(section, name);
        });
        const QString v = value();
        checkWrite(
            ini, [&] { ini.writeString(section, key, v); }, Change::Inserted, section, key,
            oneLine(v));
    }
    const QList<Entry> now = everything(ini);
    if (!now.isEmpty()) {
        const Entry &target = now.at(next(now.size()));
        checkWrite(
            ini, [&] { ini.eraseKey(target.section, target.key); }, Change::Removed, target.section,
            target.key, std::nullopt);
    }
    const QString section = unusedName(QStringLiteral("FuzzSection"), [&](const QString &name) {
        return ini.sectionExists(name);
    });
    const QString v = value();
    checkWrite(
        ini, [&] { ini.writeString(section, QStringLiteral("k"), v); }, Change::Appended, section,
        QStringLiteral("k"), oneLine(v));
    return 0;
}
