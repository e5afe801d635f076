#pragma once
// Models of the dialog's controls with the rules of their kind built in. The toolkit's widgets
// mirror them; the program reads and writes only the models.

#include <algorithm>
#include <string>
#include <vector>

namespace vortexa {

// A horizontal track bar whose position always lies inside its range.
class TrackBar {
public:
    TrackBar(int min, int max, int value)
        : m_min(min)
        , m_max(max)
        , m_value(value)
    {
        keepInside();
    }

    int Min() const { return m_min; }
    int Max() const { return m_max; }
    int Value() const { return m_value; }

    void setMin(int min)
    {
        m_min = min;
        m_max = std::max(m_max, m_min);
        keepInside();
    }
    void setMax(int max)
    {
        m_max = max;
        m_min = std::min(m_min, m_max);
        keepInside();
    }
    void setValue(int value)
    {
        m_value = value;
        keepInside();
    }

    static constexpr int SmallChange = 1;
    static constexpr int LargeChange = 5;
    static constexpr int TickFrequency = 1;

    // Place in the container, twips; no rule depends on it.
    float Left = 0, Top = 0, Width = 1455, Height = 300;
    bool Visible = true;

private:
    void keepInside() { m_value = std::clamp(m_value, m_min, m_max); }

    int m_min;
    int m_max;
    int m_value;
};

// A drop-down list with an editable text. Setting the shown text to the exact text of an entry
// selects that entry; any other text leaves no entry selected.
class ComboList {
public:
    explicit ComboList(std::vector<std::string> entries)
        : m_entries(std::move(entries))
    {
    }

    const std::string& Text() const { return m_text; }
    int ListIndex() const { return m_listIndex; }
    int ListCount() const { return static_cast<int>(m_entries.size()); }

    // The text of entry k, or an empty text when there is no such entry.
    std::string List(int k) const
    {
        return k >= 0 && k < ListCount() ? m_entries[static_cast<size_t>(k)] : std::string();
    }

    void setText(std::string text)
    {
        m_text = std::move(text);
        const auto match = std::find(m_entries.begin(), m_entries.end(), m_text);
        m_listIndex = match == m_entries.end() ? -1 : static_cast<int>(match - m_entries.begin());
    }

    void setListIndex(int k)
    {
        if (k < 0 || k >= ListCount()) {
            m_listIndex = -1;
            return;
        }
        m_listIndex = k;
        m_text = m_entries[static_cast<size_t>(k)];
    }

    // Replaces the text of entry k; the selection and shown text stay as they are.
    void setEntry(int k, std::string text)
    {
        if (k >= 0 && k < ListCount())
            m_entries[static_cast<size_t>(k)] = std::move(text);
    }

    // Place in the container, twips; the height follows the font.
    float Left = 0, Top = 0, Width = 1215, Height = 315;
    bool Visible = true;

private:
    std::vector<std::string> m_entries;
    std::string m_text;
    int m_listIndex = -1;
};

} // namespace vortexa
