#pragma once
// Progress of a long operation, as the operation sees it: phases of a known
// number of steps, and the user's wish to stop. The widget side shows it (a
// dialog with a bar and a cancel button); headless callers and tests may pass
// nothing, so operations take a CvProgress* that can be null.
#include <QString>

class CvProgress {
public:
    virtual ~CvProgress() = default;
    // Starts the operation; count is the number of steps, -1 when unknown.
    virtual void BeginProgress(const QString& title, int count) = 0;
    // Starts a phase of count steps under a caption.
    virtual void SetRange(int count, const QString& caption) = 0;
    // Marks steps done; text, when not empty, says what is being done now.
    virtual void Step(const QString& text = QString(), int steps = 1) = 0;
    virtual void EndProgress(const QString& text = QString()) = 0;
    // True once the user asked to stop; the operation then rolls back what it
    // began and answers failure.
    virtual bool IsCancelled() const { return false; }
};
