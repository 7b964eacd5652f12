#pragma once

#include <QVariant>

namespace brevnote {

// A copy of `ifTrue` when the flag is set, else of `ifFalse`.
QVariant IfThenVariant(bool flag, const QVariant &ifTrue, const QVariant &ifFalse);
// The larger of two numbers or date-times; the first when they are equal. Numbers of any
// integer or floating type compare by their value.
QVariant MaxVariant(const QVariant &first, const QVariant &second);

} // namespace brevnote
