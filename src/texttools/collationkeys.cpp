#include "collationkeys.h"

#include <unicode/ucol.h>

namespace brevnote {

struct CollationKeys::Collator {
    UCollator *handle = nullptr;
    ~Collator() {
        if (handle)
            ucol_close(handle);
    }
};

CollationKeys::CollationKeys(const QCollator &rules)
    : m_collator(std::make_unique<Collator>()) {
    // The settings QCollator gives its ICU collator: normalisation on, secondary strength
    // when case-blind (case is the third level), no numeric order, punctuation counted.
    if (rules.locale().language() == QLocale::C)
        return; // QCollator does not use ICU for the C locale
    const QByteArray name = rules.locale().bcp47Name().replace('-', '_').toLatin1();
    UErrorCode status = U_ZERO_ERROR;
    m_collator->handle = ucol_open(name.constData(), &status);
    if (U_FAILURE(status)) {
        m_collator->handle = nullptr;
        return;
    }
    const auto set = [this](UColAttribute attribute, UColAttributeValue value) {
        UErrorCode ignored = U_ZERO_ERROR;
        ucol_setAttribute(m_collator->handle, attribute, value, &ignored);
    };
    set(UCOL_NORMALIZATION_MODE, UCOL_ON);
    set(UCOL_STRENGTH,
        rules.caseSensitivity() == Qt::CaseSensitive ? UCOL_DEFAULT_STRENGTH : UCOL_SECONDARY);
    set(UCOL_NUMERIC_COLLATION, rules.numericMode() ? UCOL_ON : UCOL_OFF);
    set(UCOL_ALTERNATE_HANDLING, rules.ignorePunctuation() ? UCOL_SHIFTED : UCOL_NON_IGNORABLE);
}

CollationKeys::~CollationKeys() = default;

bool CollationKeys::isValid() const {
    return m_collator->handle != nullptr;
}

void CollationKeys::reserve(qsizetype lines, qsizetype characters) {
    m_keys.reserve(size_t(lines));
    m_offsets.reserve(size_t(lines));
    // A Latin letter weighs about one byte at the first level; the second level and the
    // level separators add a few bytes a line.
    grow(characters + characters / 4 + 8 * lines);
}

void CollationKeys::grow(qsizetype size) {
    if (size <= m_blockSize)
        return;
    auto larger = std::make_unique_for_overwrite<std::uint8_t[]>(size_t(size));
    if (m_used > 0)
        std::memcpy(larger.get(), m_block.get(), size_t(m_used));
    m_block = std::move(larger);
    m_blockSize = size;
}

void CollationKeys::add(QStringView line, qsizetype index) {
    const auto *text = reinterpret_cast<const UChar *>(line.utf16());
    const auto length = int(std::min<qsizetype>(line.size(), INT_MAX));
    // Room for a usual key; ICU says how much a longer one needs, and it is made again.
    qsizetype room = 16 + line.size() + line.size() / 2;
    for (;;) {
        if (m_blockSize < m_used + room)
            grow(std::max(m_used + room, 2 * m_blockSize));
        const int size = ucol_getSortKey(m_collator->handle, text, length, m_block.get() + m_used,
                                         int(std::min<qsizetype>(room, INT_MAX)));
        if (size <= room) {
            std::uint8_t first[8] = {};
            std::memcpy(first, m_block.get() + m_used, size_t(std::min(size, 8)));
            quint64 prefix = 0;
            for (const std::uint8_t byte : first)
                prefix = (prefix << 8) | byte;
            // The block may still move as it grows: the bytes are found at take().
            m_keys.push_back({prefix, nullptr, size, index});
            m_offsets.push_back(m_used);
            m_used += size;
            return;
        }
        room = size;
    }
}

std::vector<LineKey> CollationKeys::take() {
    for (size_t i = 0; i < m_keys.size(); ++i)
        m_keys[i].bytes = m_block.get() + m_offsets[i];
    m_offsets.clear();
    return std::move(m_keys);
}

} // namespace brevnote
