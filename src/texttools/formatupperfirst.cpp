#include "formatupperfirst.h"

namespace brevnote {

TfFormat_UpperFirst *fFormat_UpperFirst = nullptr;

TfFormat_UpperFirst::TfFormat_UpperFirst(QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("fFormat_UpperFirst"));
    fFormat_UpperFirst = this;
}

TfFormat_UpperFirst::~TfFormat_UpperFirst() {
    if (fFormat_UpperFirst == this)
        fFormat_UpperFirst = nullptr;
}

} // namespace brevnote
