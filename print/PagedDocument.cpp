#include "print/PagedDocument.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

namespace orbeta {

namespace {

constexpr int kFrameSize = 8;
constexpr int kTitleSize = 14;
constexpr int kHeadingSize = 11;
constexpr int kRoleSize = 10;

using Draw = std::function<void(PrintSurface&, int)>;

// A piece of a part that is never split: its height and how it draws at a given top.
struct Piece {
    int height = 0;
    Draw draw;
};

// A part as the pages take it: its pieces, the heading a table repeats on a further page, and
// how it may be split.
struct Block {
    std::optional<Piece> header;
    std::vector<Piece> pieces;
    bool keepTogether = true;
    bool keepWithNext = false;
    bool pageBreak = false;

    int Total() const {
        int total = header ? header->height : 0;
        for (const Piece& piece : pieces) {
            total += piece.height;
        }
        return total;
    }
};

int LineHeight(PrintSurface& surface, int size) {
    surface.SelectFont(kDocumentTypeface, size);
    return surface.FontHeight() * 6 / 5;
}

// The text in lines no wider than `width` in the selected font, broken at blanks; a word
// wider than the width stands alone on its line.
std::vector<std::string> Wrapped(PrintSurface& surface, const std::string& text, int width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        const std::string word = text.substr(start, end - start);
        const std::string longer = line.empty() ? word : line + ' ' + word;
        if (!line.empty() && surface.TextWidth(longer) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
        start = end + 1;
    }
    lines.push_back(line);
    return lines;
}

Piece TextPiece(PrintSurface& surface, int size, const std::string& text, bool centred,
                int spaceAbove, int spaceBelow) {
    const int line = LineHeight(surface, size);
    const int width = surface.PrintableWidth();
    std::vector<std::string> lines = Wrapped(surface, text, width);
    const int height = spaceAbove + static_cast<int>(lines.size()) * line + spaceBelow;
    return {height, [=](PrintSurface& page, int top) {
                page.SelectFont(kDocumentTypeface, size);
                int y = top + spaceAbove;
                for (const std::string& text : lines) {
                    page.DrawText(centred ? (width - page.TextWidth(text)) / 2 : 0, y, text);
                    y += line;
                }
            }};
}

Block TableBlock(PrintSurface& surface, const DocumentTable& table) {
    const int line = LineHeight(surface, kDocumentBodySize);
    const int padding = surface.TextWidth("n");
    const std::size_t columns = table.headings.size();
    std::vector<int> widths(columns, 0);
    for (std::size_t column = 0; column < columns; ++column) {
        std::size_t start = 0;
        const std::string& heading = table.headings[column];
        while (start <= heading.size()) {
            const std::size_t end = std::min(heading.find(' ', start), heading.size());
            widths[column] =
                std::max(widths[column], surface.TextWidth(heading.substr(start, end - start)));
            start = end + 1;
        }
        for (const auto& row : table.rows) {
            if (column < row.size()) {
                widths[column] = std::max(widths[column], surface.TextWidth(row[column]));
            }
        }
        widths[column] += 2 * padding;
    }
    // Spare width first lets headings stand on fewer lines, as far as each whole heading needs;
    // what is left is not spread, so that a narrow table stays narrow.
    int total = 0;
    std::vector<int> wants(columns, 0);
    int wanted = 0;
    for (std::size_t column = 0; column < columns; ++column) {
        total += widths[column];
        wants[column] =
            std::max(0, surface.TextWidth(table.headings[column]) + 2 * padding - widths[column]);
        wanted += wants[column];
    }
    const int spare = std::max(0, surface.PrintableWidth() - total);
    std::vector<int> lefts;
    int tableWidth = 0;
    for (std::size_t column = 0; column < columns; ++column) {
        if (wanted > 0) {
            widths[column] += static_cast<int>(static_cast<long long>(wants[column]) *
                                               std::min(spare, wanted) / wanted);
        }
        lefts.push_back(tableWidth);
        tableWidth += widths[column];
    }
    const auto words = [&table](std::size_t column) {
        return column < table.wordColumns.size() && table.wordColumns[column];
    };
    const auto cellX = [=](PrintSurface& page, std::size_t column, const std::string& text) {
        return words(column) ? lefts[column] + padding
                             : lefts[column] + widths[column] - padding - page.TextWidth(text);
    };

    std::vector<std::vector<std::string>> headingLines;
    std::size_t deepest = 1;
    for (std::size_t column = 0; column < columns; ++column) {
        headingLines.push_back(
            Wrapped(surface, table.headings[column], widths[column] - 2 * padding));
        deepest = std::max(deepest, headingLines.back().size());
    }
    const int headerHeight = static_cast<int>(deepest) * line + line / 3;
    Block block;
    block.header = Piece{headerHeight, [=](PrintSurface& page, int top) {
                             page.SelectFont(kDocumentTypeface, kDocumentBodySize);
                             for (std::size_t column = 0; column < columns; ++column) {
                                 const auto& lines = headingLines[column];
                                 int y = top + static_cast<int>(deepest - lines.size()) * line;
                                 for (const std::string& text : lines) {
                                     page.DrawText(cellX(page, column, text), y, text);
                                     y += line;
                                 }
                             }
                             const int rule = top + headerHeight - line / 6;
                             page.DrawLine(0, rule, tableWidth, rule);
                         }};
    for (std::size_t index = 0; index < table.rows.size(); ++index) {
        const bool last = index + 1 == table.rows.size();
        const std::vector<std::string> row = table.rows[index];
        block.pieces.push_back({last ? line + line / 2 : line, [=](PrintSurface& page, int top) {
                                    page.SelectFont(kDocumentTypeface, kDocumentBodySize);
                                    for (std::size_t column = 0; column < row.size(); ++column) {
                                        page.DrawText(cellX(page, column, row[column]), top,
                                                      row[column]);
                                    }
                                    if (last) {
                                        page.DrawLine(0, top + line, tableWidth, top + line);
                                    }
                                }});
    }
    return block;
}

Block SignatureBlockOf(PrintSurface& surface, const std::vector<Signature>& signatures) {
    const int line = LineHeight(surface, kDocumentBodySize);
    const int roleLine = LineHeight(surface, kRoleSize);
    const int width = surface.PrintableWidth();
    const int columns = std::max<int>(1, static_cast<int>(signatures.size()));
    const int columnWidth = width / columns;
    const int gap = columnWidth / 10;
    static constexpr const char* kFields[] = {"Nombre:", "Fecha:", "Firma:"};
    const int fieldPitch = line * 3 / 2;
    const int fieldsHeight = 3 * fieldPitch;
    const int height =
        roleLine + fieldsHeight + line / 2 + static_cast<int>(signatures.size()) * line;
    Block block;
    block.pieces.push_back(
        {height, [=](PrintSurface& page, int top) {
             for (int column = 0; column < static_cast<int>(signatures.size()); ++column) {
                 const int left = column * columnWidth;
                 int y = top;
                 page.SelectFont(kDocumentTypeface, kRoleSize);
                 page.DrawText(left, y, signatures[static_cast<std::size_t>(column)].role);
                 y += roleLine;
                 page.SelectFont(kDocumentTypeface, kDocumentBodySize);
                 for (const char* field : kFields) {
                     y += fieldPitch - line;
                     page.DrawText(left, y, field);
                     const int base = y + line - line / 6;
                     page.DrawLine(left + page.TextWidth(field) + line / 3, base,
                                   left + columnWidth - gap, base);
                     y += line;
                 }
             }
             int y = top + roleLine + fieldsHeight + line / 2;
             for (const Signature& signature : signatures) {
                 page.DrawText(0, y, signature.role + ": " + signature.meaning);
                 y += line;
             }
         }});
    return block;
}

// The header's lines when its three parts do not fit on one line without touching: the left
// part wrapped beside the page number, then the centre part; none when they fit.
std::vector<std::string> HeaderLines(PrintSurface& surface, const DocumentFrame& frame,
                                     int frameLine) {
    surface.SelectFont(kDocumentTypeface, kFrameSize);
    const int width = surface.PrintableWidth();
    const int gap = frameLine;
    const int number = surface.TextWidth("Página 999 de 999");
    const int centre = surface.TextWidth(frame.headerCentre);
    if (surface.TextWidth(frame.headerLeft) + gap <= (width - centre) / 2 &&
        (width + centre) / 2 + gap <= width - number) {
        return {};
    }
    std::vector<std::string> lines = Wrapped(surface, frame.headerLeft, width - number - gap);
    lines.push_back(frame.headerCentre);
    return lines;
}

// The height a block needs on the page it begins on.
int FirstNeed(const Block& block, int bodyHeight) {
    if (block.keepTogether || block.Total() <= bodyHeight) {
        return block.Total();
    }
    return (block.header ? block.header->height : 0) +
           (block.pieces.empty() ? 0 : block.pieces.front().height);
}

} // namespace

void PagedDocument::Title(const std::string& text) {
    m_parts.push_back({Kind::Title, text, {}, 0, {}, {}});
}

void PagedDocument::Heading(const std::string& text) {
    m_parts.push_back({Kind::Heading, text, {}, 0, {}, {}});
}

void PagedDocument::Paragraph(const std::string& text) {
    m_parts.push_back({Kind::Paragraph, text, {}, 0, {}, {}});
}

void PagedDocument::Table(DocumentTable table) {
    m_parts.push_back({Kind::Table, {}, std::move(table), 0, {}, {}});
}

void PagedDocument::Picture(double heightInInches, DocumentPicture picture) {
    m_parts.push_back({Kind::Picture, {}, {}, heightInInches, std::move(picture), {}});
}

void PagedDocument::PageBreak() {
    m_parts.push_back({Kind::PageBreak, {}, {}, 0, {}, {}});
}

void PagedDocument::SignatureBlock(const std::vector<Signature>& signatures) {
    m_parts.push_back({Kind::Signatures, {}, {}, 0, {}, signatures});
}

void PagedDocument::Print(PrintSurface& surface) const {
    surface.BeginJob();
    const int width = surface.PrintableWidth();
    const int frameLine = LineHeight(surface, kFrameSize);
    const std::vector<std::string> header = HeaderLines(surface, m_frame, frameLine);
    const int headerHeight = std::max<int>(1, static_cast<int>(header.size())) * frameLine;
    const int bodyTop = headerHeight + frameLine * 3 / 4;
    const int bodyBottom = surface.PrintableHeight() - frameLine * 7 / 4;
    const int bodyLine = LineHeight(surface, kDocumentBodySize);

    std::vector<Block> blocks;
    for (const Part& part : m_parts) {
        Block block;
        switch (part.kind) {
        case Kind::Title:
            block.pieces.push_back(TextPiece(surface, kTitleSize, part.text, true, 0, bodyLine));
            break;
        case Kind::Heading:
            block.pieces.push_back(
                TextPiece(surface, kHeadingSize, part.text, false, bodyLine / 2, bodyLine / 4));
            block.keepWithNext = true;
            break;
        case Kind::Paragraph:
            block.pieces.push_back(
                TextPiece(surface, kDocumentBodySize, part.text, false, 0, bodyLine / 3));
            break;
        case Kind::Table:
            block = TableBlock(surface, part.table);
            block.keepTogether = false;
            break;
        case Kind::Picture: {
            const int height = static_cast<int>(part.inches * surface.VerticalResolution());
            const DocumentPicture picture = part.picture;
            block.pieces.push_back({height + bodyLine / 2, [=](PrintSurface& page, int top) {
                                        picture(page, 0, top, width, height);
                                    }});
            break;
        }
        case Kind::PageBreak:
            block.pageBreak = true;
            break;
        case Kind::Signatures:
            block = SignatureBlockOf(surface, part.signatures);
            break;
        }
        blocks.push_back(std::move(block));
    }

    struct Placed {
        int top;
        Draw draw;
    };
    std::vector<std::vector<Placed>> pages(1);
    int y = bodyTop;
    const auto newPage = [&] {
        pages.emplace_back();
        y = bodyTop;
    };
    const auto place = [&](const Piece& piece) {
        pages.back().push_back({y, piece.draw});
        y += piece.height;
    };
    const int bodyHeight = bodyBottom - bodyTop;
    for (std::size_t index = 0; index < blocks.size(); ++index) {
        const Block& block = blocks[index];
        if (block.pageBreak) {
            if (y != bodyTop) {
                newPage();
            }
            continue;
        }
        // A heading goes with whatever follows it as far as that must begin on one page.
        int need = 0;
        for (std::size_t next = index; next < blocks.size(); ++next) {
            need += FirstNeed(blocks[next], bodyHeight);
            if (!blocks[next].keepWithNext) {
                break;
            }
        }
        if (y + need > bodyBottom && y != bodyTop) {
            newPage();
        }
        if (block.header) {
            place(*block.header);
        }
        for (const Piece& piece : block.pieces) {
            if (y + piece.height > bodyBottom && y != bodyTop) {
                newPage();
                if (block.header) {
                    place(*block.header);
                }
            }
            place(piece);
        }
    }

    const int count = static_cast<int>(pages.size());
    for (int page = 0; page < count; ++page) {
        if (page > 0) {
            surface.NewPage();
        }
        surface.SelectFont(kDocumentTypeface, kFrameSize);
        const std::string number =
            "Página " + std::to_string(page + 1) + " de " + std::to_string(count);
        if (header.empty()) {
            surface.DrawText(0, 0, m_frame.headerLeft);
            surface.DrawText((width - surface.TextWidth(m_frame.headerCentre)) / 2, 0,
                             m_frame.headerCentre);
        }
        for (int row = 0; const std::string& text : header) {
            surface.DrawText(0, row++ * frameLine, text);
        }
        surface.DrawText(width - surface.TextWidth(number), 0, number);
        const int rule = std::max(headerHeight, frameLine) + frameLine / 4;
        surface.DrawLine(0, rule, width, rule);
        const int footerTop = surface.PrintableHeight() - frameLine;
        surface.DrawLine(0, footerTop - frameLine / 4, width, footerTop - frameLine / 4);
        surface.DrawText(0, footerTop, m_frame.footerLeft);
        surface.DrawText((width - surface.TextWidth(m_frame.footerCentre)) / 2, footerTop,
                         m_frame.footerCentre);
        surface.DrawText(width - surface.TextWidth(m_frame.footerRight), footerTop,
                         m_frame.footerRight);
        for (const Placed& placed : pages[static_cast<std::size_t>(page)]) {
            placed.draw(surface, placed.top);
        }
    }
    surface.EndJob();
}

} // namespace orbeta
