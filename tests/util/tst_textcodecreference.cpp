// The codec's one-pass decoder and encoder against the two-pass algorithm they replaced,
// kept here only as the reference: the same text, encoding and bytes for the same input.
#include "support/hermetic.h"
#include "util/core/textcodec.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QtTest>

using namespace brevnote;

namespace reference {

const QByteArray kBom("\xEF\xBB\xBF");

// Decodes all of the bytes as UTF-8 and falls back to Windows-1252 on any error.
QString oldDecodeText(const QByteArray &bytes, TextEncoding *encoding) {
    const bool hasBom = bytes.startsWith(kBom);
    const QByteArrayView body = hasBom ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(body);
    if (!utf8.hasError()) {
        *encoding = hasBom ? TextEncoding::Utf8WithBom : TextEncoding::Utf8;
        return text;
    }
    *encoding = TextEncoding::Windows1252;
    return decodeWindows1252(bytes);
}

// Checks that every character fits, then encodes, then decodes the bytes to compare.
QByteArray oldEncodeText(const QString &text) {
    if (fitsWindows1252(text)) {
        QByteArray bytes = encodeWindows1252(text);
        const bool ascii =
            std::all_of(bytes.cbegin(), bytes.cend(), [](char byte) { return (byte & 0x80) == 0; });
        TextEncoding ignored;
        if (ascii || oldDecodeText(bytes, &ignored) == text)
            return bytes;
    }
    return kBom + text.toUtf8();
}

QByteArray oldEncodeText(const QString &text, TextEncoding preferred) {
    switch (preferred) {
    case TextEncoding::Utf8:
        return text.toUtf8();
    case TextEncoding::Utf8WithBom:
        return kBom + text.toUtf8();
    case TextEncoding::Windows1252:
        break;
    }
    return oldEncodeText(text);
}

} // namespace reference

namespace {

// Byte pieces that hit the decoder's decisions: ASCII, valid sequences of each length,
// Windows-1252 letters, overlong forms, encoded surrogates, code points past U+10FFFF, cut
// sequences, stray continuation bytes, byte-order marks.
const QList<QByteArray> kBytePieces = {"a",
                                       "Z ",
                                       "\r\n",
                                       "\n",
                                       "\r",
                                       "\xC3\xA9",
                                       "\xC3\x83",
                                       "\xC2\xA9",
                                       "\xE2\x82\xAC",
                                       "\xEF\xBB\xBF",
                                       "\xF0\x9F\x98\x80",
                                       "\xF4\x8F\xBF\xBF",
                                       "\xE9",
                                       "\x80",
                                       "\x93",
                                       "\xFF",
                                       "\xC0\xAF",
                                       "\xE0\x80\xAF",
                                       "\xED\xA0\x80",
                                       "\xED\xBF\xBF",
                                       "\xF4\x90\x80\x80",
                                       "\xF5\x80\x80\x80",
                                       "\xC3",
                                       "\xE2\x82",
                                       "\xBF",
                                       "\xEF\xBF\xBE"};

// Characters that hit the encoder's decisions: ASCII, Latin-1, the Windows-1252 letters of
// 0x80-0x9F and its five undefined bytes, characters without a byte there, surrogate pairs,
// lone surrogates, U+FEFF, line breaks and "Ã©"-like pairs whose bytes read as UTF-8.
const QList<QString> kCharPieces = {
    QStringLiteral("a"),    QStringLiteral("é"),    QStringLiteral("Ã"),    QStringLiteral("©"),
    QStringLiteral("€"),    QStringLiteral("“"),    QString(QChar(0x81)),   QString(QChar(0x9D)),
    QString(QChar(0x85)),   QStringLiteral("ÿ"),    QStringLiteral("Ω"),    QStringLiteral("😀"),
    QString(QChar(0xD800)), QString(QChar(0xDC00)), QString(QChar(0xFEFF)), QStringLiteral("\n"),
    QStringLiteral("\r\n"), QStringLiteral("\r"),   QStringLiteral("Ã©"),   QStringLiteral("â‚¬"),
    QStringLiteral("ï»¿"),  QStringLiteral(" "),    QString(QChar(0xA0)),   QString(QChar(0x2029))};

QByteArray randomBytes(QRandomGenerator &random, bool withInvalid) {
    QByteArray bytes;
    if (random.bounded(4) == 0)
        bytes += reference::kBom;
    const int pieces = random.bounded(12);
    const int validPieces = 12; // the first twelve are valid UTF-8
    for (int i = 0; i < pieces; ++i)
        bytes +=
            kBytePieces.at(random.bounded(withInvalid ? int(kBytePieces.size()) : validPieces));
    return bytes;
}

QString randomText(QRandomGenerator &random, qsizetype pieceCount) {
    QString text;
    const int pieces = random.bounded(int(pieceCount));
    for (int i = 0; i < pieces; ++i)
        text += kCharPieces.at(random.bounded(int(pieceCount)));
    return text;
}

} // namespace

class TestTextCodecReference : public QObject {
    Q_OBJECT

private slots:
    void decodeMatchesReference_data();
    void decodeMatchesReference();
    void encodeMatchesReference_data();
    void encodeMatchesReference();
};

void TestTextCodecReference::decodeMatchesReference_data() {
    QTest::addColumn<bool>("withInvalid");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("valid UTF-8 pieces") << false << 14u;
    QTest::newRow("any pieces") << true << 1252u;
    QTest::newRow("any pieces, other seed") << true << 8u;
}

void TestTextCodecReference::decodeMatchesReference() {
    QFETCH(bool, withInvalid);
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    int windows1252 = 0;
    for (int run = 0; run < 20000; ++run) {
        const QByteArray bytes = randomBytes(random, withInvalid);
        TextEncoding expected = TextEncoding::Utf8;
        TextEncoding got = TextEncoding::Utf8;
        const QString expectedText = reference::oldDecodeText(bytes, &expected);
        QCOMPARE(decodeText(bytes, &got), expectedText);
        QVERIFY2(got == expected, bytes.toHex(' ').constData());
        windows1252 += expected == TextEncoding::Windows1252;
    }
    // The random input reaches both answers.
    QCOMPARE(windows1252 > 1000, withInvalid);
}

void TestTextCodecReference::encodeMatchesReference_data() {
    QTest::addColumn<int>("pieceCount");
    QTest::addColumn<quint32>("seed");
    // The first pieces fit Windows-1252, so short draws reach both encodings.
    QTest::newRow("Windows-1252 characters") << 10 << 3u;
    QTest::newRow("any characters") << int(kCharPieces.size()) << 65001u;
}

void TestTextCodecReference::encodeMatchesReference() {
    QFETCH(int, pieceCount);
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    int unambiguous = 0;
    for (int run = 0; run < 20000; ++run) {
        const QString text = randomText(random, pieceCount);
        const QByteArray expected = reference::oldEncodeText(text);
        QCOMPARE(encodeText(text), expected);
        unambiguous += !expected.startsWith(reference::kBom);
        for (const TextEncoding preferred :
             {TextEncoding::Windows1252, TextEncoding::Utf8, TextEncoding::Utf8WithBom}) {
            QCOMPARE(encodeText(text, preferred), reference::oldEncodeText(text, preferred));
            // The lines form gives the bytes of the joined lines.
            const QString joined = text.isEmpty() ? QString() : joinLines(text.split(u'\n'));
            QCOMPARE(encodeLines(text, preferred), reference::oldEncodeText(joined, preferred));
            // An editor's raw text: U+2029 ends a line as '\n' does.
            QString lines = text;
            lines.replace(QChar(0x2029), u'\n');
            QCOMPARE(encodeParagraphs(text, preferred), encodeLines(lines, preferred));
        }
        QCOMPARE(encodeLines(text), reference::oldEncodeText(
                                        text.isEmpty() ? QString() : joinLines(text.split(u'\n'))));
        QCOMPARE(normalizeLineBreaks(text), splitLines(text).join(u'\n'));
        QCOMPARE(encodeTextAsLines(text), reference::oldEncodeText(joinLines(splitLines(text))));
    }
    QVERIFY(unambiguous > 1000);
    QVERIFY(unambiguous < 19000);
}

BREVNOTE_TEST_GUILESS_MAIN(TestTextCodecReference)
#include "tst_textcodecreference.moc"
