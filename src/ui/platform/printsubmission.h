#pragma once

#include <QString>

class QPrinter;

// Whether the printer took the job the pages were just painted for. Qt hands
// a job to the system's print service and forgets the answer, so a printer
// that refuses it (a queue that does not accept jobs, a printer removed since
// the dialog listed it) would print nothing without a word.
class PrintSubmission
{
public:
    // Why the job was refused, a Russian phrase naming the printer; "" when it
    // was taken or went to a file. Call right after the painter has ended, on
    // the same thread.
    static QString refusal(const QPrinter &printer);
};
