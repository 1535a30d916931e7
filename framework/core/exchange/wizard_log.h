#pragma once
// The processing page of a wizard as the exchange engines and the program's
// helpers see it: the lines it shows. The wizard kit's processor page
// (framework/widgets/wizard) implements it.
#include <QString>

class CSQLWizardLog {
public:
    virtual ~CSQLWizardLog() = default;
    virtual void AddInfoMessage(const QString& text, int flag) = 0;
    // flag 1: a warning, 0: an error.
    virtual void AddWarning(const QString& text, int flag) = 0;
};
