#pragma once

#include "print/PrintSurface.h"

#include <functional>
#include <string>
#include <vector>

namespace orbeta {

// What every page of a document repeats: a header line (left, centre, and «Página x de y» on
// the right) above a rule, and a footer line (left, centre, right) below one. A header whose
// parts would touch takes more lines: the left part, wrapped beside the page number, then the
// centre part below it.
struct DocumentFrame {
    std::string headerLeft;
    std::string headerCentre;
    std::string footerLeft;
    std::string footerCentre;
    std::string footerRight;
};

// A table of a document: its column headings (wrapped at blanks into their column), its rows,
// and which columns hold words, set to the left; the rest, figures, are set to the right.
struct DocumentTable {
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> wordColumns;
};

// Draws a picture in the rectangle given (left, top, width, height, in device pixels).
using DocumentPicture = std::function<void(PrintSurface&, int, int, int, int)>;

// One signature of a signature block: its role («Realizó») and what it means, in one line.
struct Signature {
    std::string role;
    std::string meaning;
};

// A document laid out on pages of a print surface, in the order its parts are added. A heading
// never ends a page: it goes to the next with what follows it. A table that fits on a page is
// never split; a longer one goes on over further pages under its column headings drawn again.
// A paragraph, a picture and the signature block are never split.
class PagedDocument {
public:
    explicit PagedDocument(DocumentFrame frame) : m_frame(std::move(frame)) {}

    void Title(const std::string& text);
    void Heading(const std::string& text);
    void Paragraph(const std::string& text);
    void Table(DocumentTable table);
    // A picture as wide as the page and `heightInInches` high.
    void Picture(double heightInInches, DocumentPicture picture);
    // Begins a new page here unless the page is still empty.
    void PageBreak();
    // Beside each role, lines for the printed name, the date and the signature; below them the
    // meaning of each signature, one line each.
    void SignatureBlock(const std::vector<Signature>& signatures);

    // Lays the document out and draws it as one job on the surface. Throws Error when the
    // surface cannot begin a job.
    void Print(PrintSurface& surface) const;

private:
    enum class Kind { Title, Heading, Paragraph, Table, Picture, PageBreak, Signatures };
    struct Part {
        Kind kind;
        std::string text;
        DocumentTable table;
        double inches = 0;
        DocumentPicture picture;
        std::vector<Signature> signatures;
    };

    DocumentFrame m_frame;
    std::vector<Part> m_parts;
};

// The typeface and sizes every document is set in.
inline constexpr const char* kDocumentTypeface = "ARIAL";
inline constexpr int kDocumentBodySize = 9;

} // namespace orbeta
