#include "collationkeys.h"

#include <QtEndian>

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

namespace {

// A key's eight bytes from `offset` on, big-endian, zero-padded past its end.
quint64 bytesAt(const LineKey &key, qsizetype offset) {
    std::uint8_t bytes[8] = {};
    if (offset < key.length)
        std::memcpy(bytes, key.bytes + offset, size_t(std::min<qsizetype>(8, key.length - offset)));
    return qFromBigEndian<quint64>(bytes);
}

// Runs this short are compared whole.
constexpr std::ptrdiff_t kShortRun = 16;

} // namespace

void sortKeys(std::vector<LineKey> &keys) {
    // A run of keys that share their first `offset` bytes, which `prefix` then holds the next
    // eight of.
    struct Run {
        LineKey *first;
        LineKey *last;
        qsizetype offset;
    };
    std::vector<Run> runs;
    runs.push_back({keys.data(), keys.data() + keys.size(), 0});
    while (!runs.empty()) {
        const Run run = runs.back();
        runs.pop_back();
        std::sort(run.first, run.last,
                  [](const LineKey &a, const LineKey &b) { return a.prefix < b.prefix; });
        const qsizetype next = run.offset + 8;
        for (LineKey *same = run.first; same != run.last;) {
            LineKey *end = same + 1;
            while (end != run.last && end->prefix == same->prefix)
                ++end;
            if (end - same > 1) {
                // No key holds a zero byte but its last, so keys that end within the same
                // eight bytes are the same key: they stay in the lines' order.
                if (same->length <= next) {
                    std::sort(same, end,
                              [](const LineKey &a, const LineKey &b) { return a.index < b.index; });
                } else if (end - same <= kShortRun) {
                    std::sort(same, end, [next](const LineKey &a, const LineKey &b) {
                        const int order = std::memcmp(a.bytes + next, b.bytes + next,
                                                      size_t(std::min(a.length, b.length) - next));
                        if (order != 0)
                            return order < 0;
                        return a.length != b.length ? a.length < b.length : a.index < b.index;
                    });
                } else {
                    for (LineKey *key = same; key != end; ++key)
                        key->prefix = bytesAt(*key, next);
                    runs.push_back({same, end, next});
                }
            }
            same = end;
        }
    }
    // The first eight bytes again, as keyBefore reads them.
    for (LineKey &key : keys)
        key.prefix = bytesAt(key, 0);
}

std::vector<LineKey> CollationKeys::take() {
    for (size_t i = 0; i < m_keys.size(); ++i)
        m_keys[i].bytes = m_block.get() + m_offsets[i];
    m_offsets.clear();
    return std::move(m_keys);
}

} // namespace brevnote
