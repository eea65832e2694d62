#pragma once

#include <QList>
#include <QString>

namespace orbeta {

// The program's help, written for it and compiled into it: pages under a resource folder named
// after the help file, the topic of each help context number, and the keyword index.

// The folder of a help file's pages, as a URL ending in "/".
QString HelpFolderOf(const QString& helpFile);

inline constexpr const char* kContentsPage = "contenido.html";
inline constexpr const char* kHelpOnHelpPage = "usar_ayuda.html";

// The page, and the place on it, of a help context number; the contents for an unknown number.
QString PageOfHelpContext(int helpContext);

struct HelpKeyword {
    QString keyword;
    QString page;
};

// Every keyword of the index, in alphabetical order.
const QList<HelpKeyword>& HelpKeywords();

// A text as the keyword search compares it: lower case, accents dropped.
QString SearchForm(const QString& text);

} // namespace orbeta
