// The release panel's comma-separated file list on arbitrary text: reading any text gives
// entries that write and read back the same (reading is stable), and any list of entries,
// written and read, gives the same list.
//
// Input: text (decoded as a file is). Read as a stored list, and also as a list of entries:
// its first character separates the entries in the rest.
#include "fuzzcheck.h"
#include "publish/commatext.h"
#include "util/core/textcodec.h"

#include <cstddef>
#include <cstdint>

using namespace brevnote;

namespace {

void checkWriteRead(const QStringList &entries) {
    const QString written = CommaText(entries);
    FUZZ_CHECK(ParseCommaText(written) == entries,
               fuzz::shown(entries.join(u'|')) + QStringLiteral(" -> ") + fuzz::shown(written));
    FUZZ_CHECK(!entries.isEmpty() || written.isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QString text =
        decodeText(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));

    // Read, write, read: the same entries; written again, the same text.
    const QStringList read = ParseCommaText(text);
    checkWriteRead(read);
    const QString written = CommaText(read);
    FUZZ_CHECK(CommaText(ParseCommaText(written)) == written, fuzz::shown(written));

    if (!text.isEmpty())
        checkWriteRead(text.sliced(1).split(text.front()));
    return 0;
}
