#pragma once

#include <QCollator>
#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

// Collation keys of many lines as plain bytes in one block, so a sort compares them with
// memcmp on a prefix kept beside each line, instead of through one heap object per key.
namespace brevnote {

// One line's key: where it is in its block, and its first bytes for a quick comparison.
struct LineKey {
    quint64 prefix; // the key's first 8 bytes, big-endian, zero-padded
    const std::uint8_t *bytes;
    qsizetype length; // with ICU's terminating zero, so no key is a prefix of another
    qsizetype index;  // the line's place in the text
};

// The order QCollatorSortKey::compare gives; equal keys by the lines' order.
inline bool keyBefore(const LineKey &a, const LineKey &b) {
    if (a.prefix != b.prefix)
        return a.prefix < b.prefix;
    const int order = std::memcmp(a.bytes, b.bytes, size_t(std::min(a.length, b.length)));
    if (order != 0)
        return order < 0;
    return a.length != b.length ? a.length < b.length : a.index < b.index;
}

// Sorts keys into the order keyBefore gives, eight bytes at a time: first by their first eight,
// then each run that shares them by the next eight, and so on. Lines often share their first
// words, and a comparison of whole keys would then read two keys far apart in memory every
// time; here each key is read once a round.
void sortKeys(std::vector<LineKey> &keys);

// Keys computed by an ICU collator opened for the same locale, case sensitivity and settings
// as the one inside QCollator, so the bytes are those of QCollator::sortKey. One object per
// thread: a collator is not shared between threads.
class CollationKeys final {
public:
    explicit CollationKeys(const QCollator &rules);
    ~CollationKeys();
    CollationKeys(const CollationKeys &) = delete;
    CollationKeys &operator=(const CollationKeys &) = delete;

    // False when ICU has no collator for the locale; then nothing else may be called.
    bool isValid() const;

    // Makes room for the keys of `lines` lines of `characters` characters in all, so that
    // adding them seldom moves the keys already made.
    void reserve(qsizetype lines, qsizetype characters);
    // Adds the key of one line; `index` is its place in the text.
    void add(QStringView line, qsizetype index);
    // The keys added so far, pointing into this object's block: it must outlive them.
    std::vector<LineKey> take();

private:
    // Makes the block hold at least `size` bytes, keeping the keys made so far.
    void grow(qsizetype size);

    struct Collator;
    std::unique_ptr<Collator> m_collator;
    // Not a vector: growing one writes zeros over the whole reserve first, tens of megabytes
    // for a million lines before the first key.
    std::unique_ptr<std::uint8_t[]> m_block;
    qsizetype m_blockSize = 0;
    qsizetype m_used = 0;
    std::vector<LineKey> m_keys; // their bytes are set at take()
    std::vector<qsizetype> m_offsets;
};

} // namespace brevnote
