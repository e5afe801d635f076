#pragma once
// Screen elements as plain records with the properties the program reads and writes. Positions and
// sizes are twips (15 to the pixel) held in single precision; colours are 0x00BBGGRR, or 0x800000nn
// for the system colour nn.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vortexa {

constexpr int TwipsPerPixel = 15;

constexpr uint32_t systemColour(int index) { return 0x80000000u | static_cast<uint32_t>(index); }
constexpr bool isSystemColour(uint32_t colour) { return (colour & 0x80000000u) != 0; }
constexpr uint32_t rgb(int red, int green, int blue)
{
    return static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue) << 16;
}

enum ShapeKind {
    ShapeRectangle = 0,
    ShapeSquare = 1,
    ShapeOval = 2,
    ShapeCircle = 3,
    ShapeRoundedRectangle = 4,
    ShapeRoundedSquare = 5,
};
enum BorderStyleKind {
    BorderTransparent = 0,
    BorderSolid = 1,
    BorderDashed = 2,
    BorderDotted = 3,
    BorderDashDot = 4,
    BorderDashDotDot = 5,
    BorderInsideSolid = 6,
};
enum FillStyleKind {
    FillSolid = 0,
    FillTransparent = 1,
    FillHorizontalLines = 2,
    FillVerticalLines = 3,
    FillUpwardDiagonal = 4,
    FillDownwardDiagonal = 5,
    FillCross = 6,
    FillDiagonalCross = 7,
};
enum BackStyleKind { BackTransparent = 0, BackOpaque = 1 };

struct Font {
    std::string Name = "MS Sans Serif";
    float Size = 8.25f; // points
    bool Bold = false;
    bool Underline = false;
    friend bool operator==(const Font&, const Font&) = default;
};

struct ShapeElement {
    int Shape = ShapeCircle;
    float Left = 0, Top = 0, Width = 975, Height = 975;
    uint32_t BorderColor = systemColour(1);
    int BorderWidth = 1;
    int BorderStyle = BorderSolid;
    uint32_t BackColor = 0;
    int BackStyle = BackTransparent;
    uint32_t FillColor = 0;
    int FillStyle = FillTransparent;
    bool Visible = true;
    void Move(float left, float top)
    {
        Left = left;
        Top = top;
    }
    friend bool operator==(const ShapeElement&, const ShapeElement&) = default;
};

struct LineElement {
    float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    uint32_t BorderColor = 0;
    int BorderWidth = 1;
    bool Visible = true;
    friend bool operator==(const LineElement&, const LineElement&) = default;
};

enum AlignmentKind { AlignLeft = 0, AlignRight = 1, AlignCentre = 2 };

// How a label's text is placed in its box: as the label says, but a text wider than the box stays
// on one line and runs past both edges evenly, so that a label placed centred on something keeps
// its text centred there however long the text is.
constexpr int ShownAlignment(int alignment, int textWidth, int boxWidth)
{
    return textWidth > boxWidth ? AlignCentre : alignment;
}

struct LabelElement {
    float Left = 0, Top = 0, Width = 1215, Height = 255;
    std::string Caption; // UTF-8
    uint32_t ForeColor = systemColour(18);
    uint32_t BackColor = systemColour(15);
    int BackStyle = BackOpaque;
    int Alignment = AlignLeft;
    Font LabelFont;
    bool Visible = true;
    bool HandPointer = false; // a pointing hand over the label, as over a link
    void Move(float left, float top)
    {
        Left = left;
        Top = top;
    }
    friend bool operator==(const LabelElement&, const LabelElement&) = default;
};

// A numbered array of elements of one kind. The designed elements exist from the start; a new
// element k is a copy of element 0's current properties and starts hidden.
template <typename Element> class ElementArray {
public:
    explicit ElementArray(std::vector<Element> designed)
        : m_elements(designed.begin(), designed.end())
    {
    }

    // Creates element k; false when k is negative or already exists.
    bool Load(int k)
    {
        if (k < 0 || exists(k) || !exists(0))
            return false;
        if (k >= static_cast<int>(m_elements.size()))
            m_elements.resize(static_cast<size_t>(k) + 1);
        Element copy = *m_elements[0];
        copy.Visible = false;
        m_elements[static_cast<size_t>(k)] = copy;
        return true;
    }

    bool exists(int k) const
    {
        return k >= 0 && k < static_cast<int>(m_elements.size()) && m_elements[static_cast<size_t>(k)].has_value();
    }

    int Count() const
    {
        int count = 0;
        for (const auto& element : m_elements)
            count += element.has_value() ? 1 : 0;
        return count;
    }

    // The highest index in use, or -1 for an empty array.
    int UBound() const
    {
        for (int k = static_cast<int>(m_elements.size()) - 1; k >= 0; --k)
            if (m_elements[static_cast<size_t>(k)])
                return k;
        return -1;
    }

    // Element k; it must exist (callers that may meet a missing element ask exists() first).
    Element& operator[](int k) { return *m_elements.at(static_cast<size_t>(k)); }
    const Element& operator[](int k) const { return *m_elements.at(static_cast<size_t>(k)); }

    Element* find(int k) { return exists(k) ? &*m_elements[static_cast<size_t>(k)] : nullptr; }

private:
    std::vector<std::optional<Element>> m_elements;
};

} // namespace vortexa
