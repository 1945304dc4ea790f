#pragma once

class QWidget;
struct JobOutcome;

// Shows a job's outcome in a message box: its text, then what it did instead
// and what it made, one line each. The extra widget, when given, is shown
// under those lines, above the box's button, and is deleted with the box.
// Returns when the box is closed.
void showOutcomeBox(QWidget *parent, const JobOutcome &outcome, QWidget *extra = nullptr);
