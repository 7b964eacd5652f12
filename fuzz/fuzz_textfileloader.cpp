// "Abrir" on a file of arbitrary bytes, in both modes: it gives the decoded text or refuses
// the file with an AppError, and what it gives can be saved and read back unchanged.
#include "app/textfileloader.h"
#include "fuzzcheck.h"
#include "util/core/apperror.h"
#include "util/core/textcodec.h"

#include <cstddef>
#include <cstdint>
#include <optional>

using namespace brevnote;

namespace {

std::optional<QString> openInPad(const QString &path, bool plainTextMode) {
    try {
        return readFileForEditor(path, plainTextMode);
    } catch (const AppError &error) {
        FUZZ_CHECK(error.message().contains(path), error.message());
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = fuzz::inputFile(QStringLiteral("open.txt"), bytes);
    const bool binary = bytes.contains('\0');

    const std::optional<QString> plain = openInPad(path, true);
    FUZZ_CHECK(plain.has_value() == !binary);
    if (plain)
        FUZZ_CHECK(*plain == decodeText(bytes));

    const std::optional<QString> rich = openInPad(path, false);
    FUZZ_CHECK(rich.has_value() == !binary);
    if (rich) {
        FUZZ_CHECK(!rich->contains(QChar(u'\0')), fuzz::shown(*rich));
        FUZZ_CHECK(decodeText(encodeText(*rich)) == *rich, fuzz::shown(*rich));
    }
    return 0;
}
