#pragma once

#include <QDialog>

namespace brevnote {

// The word capitaliser's dialog. Created at start-up and kept, hidden, for the whole run;
// its controls arrive with the text tools.
class TfFormat_UpperFirst final : public QDialog {
    Q_OBJECT

public:
    explicit TfFormat_UpperFirst(QWidget *parent = nullptr);
    ~TfFormat_UpperFirst() override;
};

// The one instance, while it exists.
extern TfFormat_UpperFirst *fFormat_UpperFirst;

} // namespace brevnote
