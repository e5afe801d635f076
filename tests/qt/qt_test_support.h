#pragma once
// What the Qt tests share: the application object the painting needs, a fresh folder for the
// program's files, and pixel checks that allow the one pixel of play that rounding gives.

#include <QColor>
#include <QImage>
#include <QPoint>

#include <filesystem>

namespace vortexa::test {

// The arguments the test program's application object was made with, after the program name.
inline constexpr const char* CommandLineWords[] = {"/S", "two  words", "3"};

class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// True when some pixel at most `reach` pixels away from `place` (in both directions) has `colour`.
bool colourNear(const QImage& image, QPoint place, QColor colour, int reach = 1);

// The number of pixels in the rectangle that are not `background`.
int pixelsOtherThan(const QImage& image, const QRect& rectangle, QColor background);

} // namespace vortexa::test
