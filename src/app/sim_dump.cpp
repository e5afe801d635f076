#include "app/sim_dump.h"

#include <charconv>
#include <cstdio>

namespace vortexa {

namespace {

class JsonWriter {
public:
    std::string text;

    void raw(const char* s) { text += s; }
    void key(const char* name)
    {
        separate();
        text += '"';
        text += name;
        text += "\":";
        m_needComma = false;
    }
    void number(double value)
    {
        separate();
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
        text.append(buffer, end);
    }
    // Single-precision values print in their own shortest form, so they read back exactly.
    void number(float value)
    {
        separate();
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
        text.append(buffer, end);
    }
    void number(int64_t value)
    {
        separate();
        text += std::to_string(value);
    }
    void number(int value) { number(int64_t {value}); }
    void number(uint32_t value) { number(int64_t {value}); }
    void boolean(bool value)
    {
        separate();
        text += value ? "true" : "false";
    }
    void string(const std::string& value)
    {
        separate();
        text += '"';
        for (unsigned char c : value) {
            if (c == '"' || c == '\\') {
                text += '\\';
                text += static_cast<char>(c);
            } else if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                text += escaped;
            } else {
                text += static_cast<char>(c);
            }
        }
        text += '"';
    }
    void open(char bracket)
    {
        separate();
        text += bracket;
        m_needComma = false;
    }
    void close(char bracket)
    {
        text += bracket;
        m_needComma = true;
    }

private:
    void separate()
    {
        if (m_needComma)
            text += ',';
        m_needComma = true;
    }
    bool m_needComma = false;
};

void box(JsonWriter& json, float left, float top, float width, float height)
{
    json.key("left");
    json.number(left);
    json.key("top");
    json.number(top);
    json.key("width");
    json.number(width);
    json.key("height");
    json.number(height);
}

void shapes(JsonWriter& json, const SaverScreen& screen)
{
    json.key("shapes");
    json.open('[');
    for (int k = 0; k <= screen.Shape.UBound(); ++k) {
        if (!screen.Shape.exists(k))
            continue;
        const ShapeElement& shape = screen.Shape[k];
        json.open('{');
        json.key("index");
        json.number(k);
        json.key("kind");
        json.number(shape.Shape);
        box(json, shape.Left, shape.Top, shape.Width, shape.Height);
        json.key("visible");
        json.boolean(shape.Visible);
        json.key("border_color");
        json.number(shape.BorderColor);
        json.key("border_width");
        json.number(shape.BorderWidth);
        json.key("border_style");
        json.number(shape.BorderStyle);
        json.close('}');
    }
    json.close(']');
}

void steps(JsonWriter& json, const char* name, const std::array<int32_t, 21>& values, int count)
{
    json.key(name);
    json.open('[');
    for (int k = 0; k < count && k < static_cast<int>(values.size()); ++k)
        json.number(values[static_cast<size_t>(k)]);
    json.close(']');
}

void lines(JsonWriter& json, const SaverScreen& screen)
{
    json.key("lines");
    json.open('[');
    for (int k = 0; k < 3; ++k) {
        const LineElement& line = screen.LineS[k];
        json.open('{');
        json.key("index");
        json.number(k);
        json.key("x1");
        json.number(line.X1);
        json.key("y1");
        json.number(line.Y1);
        json.key("x2");
        json.number(line.X2);
        json.key("y2");
        json.number(line.Y2);
        json.key("visible");
        json.boolean(line.Visible);
        json.close('}');
    }
    json.close(']');
}

void dialParts(JsonWriter& json, const SaverScreen& screen)
{
    json.key("shapes_s");
    json.open('[');
    for (int k = 0; k <= screen.ShapeS.UBound(); ++k) {
        if (!screen.ShapeS.exists(k))
            continue;
        const ShapeElement& part = screen.ShapeS[k];
        json.open('{');
        json.key("index");
        json.number(k);
        box(json, part.Left, part.Top, part.Width, part.Height);
        json.key("visible");
        json.boolean(part.Visible);
        json.close('}');
    }
    json.close(']');
}

void labels(JsonWriter& json, const SaverScreen& screen)
{
    json.key("labels");
    json.open('{');
    json.key("lblT");
    json.open('{');
    box(json, screen.lblT.Left, screen.lblT.Top, screen.lblT.Width, screen.lblT.Height);
    json.key("visible");
    json.boolean(screen.lblT.Visible);
    json.key("caption");
    json.string(screen.lblT.Caption);
    json.close('}');

    json.key("lblF1");
    json.open('{');
    json.key("left");
    json.number(screen.lblF1.Left);
    json.key("top");
    json.number(screen.lblF1.Top);
    json.key("visible");
    json.boolean(screen.lblF1.Visible);
    json.key("fore_color");
    json.number(screen.lblF1.ForeColor);
    json.close('}');

    // The frame rate only once it shows, so that a run without it prints what it always did.
    if (screen.lblFrameRate.Visible) {
        json.key("lblFrameRate");
        json.open('{');
        box(json, screen.lblFrameRate.Left, screen.lblFrameRate.Top, screen.lblFrameRate.Width,
            screen.lblFrameRate.Height);
        json.key("caption");
        json.string(screen.lblFrameRate.Caption);
        json.close('}');
    }

    json.key("lblS");
    json.open('[');
    for (int k = 0; k < 3; ++k) {
        const LabelElement& label = screen.lblS[k];
        json.open('{');
        json.key("index");
        json.number(k);
        json.key("left");
        json.number(label.Left);
        json.key("top");
        json.number(label.Top);
        json.key("visible");
        json.boolean(label.Visible);
        json.key("caption");
        json.string(label.Caption);
        json.close('}');
    }
    json.close(']');
    json.close('}');
}

} // namespace

std::string sceneJson(int64_t ms, const SaverScreen& screen, const ModuleState& module)
{
    JsonWriter json;
    json.open('{');
    json.key("ms");
    json.number(ms);
    json.key("screen");
    json.open('{');
    json.key("width");
    json.number(screen.ScreenWidth);
    json.key("height");
    json.number(screen.ScreenHeight);
    json.close('}');
    json.key("scenario");
    json.number(int {module.Scenario});
    json.key("circle_count");
    json.number(module.CircleCount);
    // Two choices that change nothing on the screen at start-up: what the program holds.
    json.key("captives");
    json.string(module.Captives);
    json.key("language");
    json.number(module.Language);
    shapes(json, screen);
    steps(json, "step_x", screen.StepX, screen.Shape.Count());
    steps(json, "step_y", screen.StepY, screen.Shape.Count());
    json.key("hand_angle");
    json.open('[');
    for (float angle : module.HandAngle)
        json.number(angle);
    json.close(']');
    lines(json, screen);
    dialParts(json, screen);
    labels(json, screen);
    json.close('}');
    return json.text;
}

} // namespace vortexa
