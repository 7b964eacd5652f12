#include "caselogic.h"

namespace brevnote {

namespace {

template<typename Map> QString mapEachChar(QStringView text, Map map) {
    const qsizetype size = text.size();
    QString result(size, Qt::Uninitialized);
    const QChar *in = text.constData();
    QChar *out = result.data();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = in[i].unicode();
        if (unit < 0x80) {
            out[i] = QChar(char16_t(map(char32_t(unit))));
            continue;
        }
        if (QChar::isHighSurrogate(unit) && i + 1 < size && in[i + 1].isLowSurrogate()) {
            const char32_t mapped = map(QChar::surrogateToUcs4(unit, in[i + 1].unicode()));
            const bool pair = QChar::requiresSurrogates(mapped);
            out[i] = pair ? QChar(QChar::highSurrogate(mapped)) : in[i];
            out[i + 1] = pair ? QChar(QChar::lowSurrogate(mapped)) : in[i + 1];
            ++i;
            continue;
        }
        const char32_t mapped = map(char32_t(unit));
        out[i] = QChar::requiresSurrogates(mapped) ? in[i] : QChar(char16_t(mapped));
    }
    return result;
}

} // namespace

QString UpperEachChar(QStringView text) {
    return mapEachChar(text, [](char32_t c) { return QChar::toUpper(c); });
}

QString LowerEachChar(QStringView text) {
    return mapEachChar(text, [](char32_t c) { return QChar::toLower(c); });
}

} // namespace brevnote
