// The RTF text reader on arbitrary text: it never fails, never makes text out of nothing, and
// gives a text the pad can save and read back unchanged.
#include "app/rtfreader.h"
#include "fuzzcheck.h"
#include "util/core/textcodec.h"

#include <cstddef>
#include <cstdint>

using namespace brevnote;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QString rtf =
        decodeText(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QString text = plainTextFromRtf(rtf);
    // Each character read comes from at least one character of the document.
    FUZZ_CHECK(text.size() <= rtf.size());
    // "Abrir" refuses files with NUL characters, so the pad never holds one.
    FUZZ_CHECK(!text.contains(QChar(u'\0')), fuzz::shown(text));
    FUZZ_CHECK(decodeText(encodeText(text)) == text, fuzz::shown(text));
    return 0;
}
