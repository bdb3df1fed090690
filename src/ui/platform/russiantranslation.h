#pragma once

// Qt's own texts (dialog titles, buttons, the file list's headers) in Russian
// whatever the machine's language: the program speaks only Russian.
class RussianTranslation
{
public:
    // Installs Qt's Russian translation into the running application once;
    // false when the translation file is missing, the dialogs then stay English.
    static bool install();
};
