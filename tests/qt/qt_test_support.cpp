#include "qt_test_support.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <string>

namespace vortexa::test {

namespace {

// Painting text and making windows need the application object; it lives for the whole run.
class QtApplication : public ::testing::Environment {
public:
    void SetUp() override
    {
        m_arguments = {const_cast<char*>("vortexa_qt_tests")};
        for (const char* word : CommandLineWords)
            m_arguments.push_back(const_cast<char*>(word));
        m_count = static_cast<int>(m_arguments.size());
        m_application = std::make_unique<QApplication>(m_count, m_arguments.data());
    }
    void TearDown() override { m_application.reset(); }

private:
    std::vector<char*> m_arguments;
    int m_count = 0;
    std::unique_ptr<QApplication> m_application;
};

[[maybe_unused]] ::testing::Environment* const application = ::testing::AddGlobalTestEnvironment(new QtApplication);

} // namespace

TemporaryFolder::TemporaryFolder()
{
    std::random_device device;
    m_path = std::filesystem::temp_directory_path()
        / ("vortexa-qt-test-" + std::to_string(device()) + "-" + std::to_string(device()));
    std::filesystem::create_directories(m_path);
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

bool colourNear(const QImage& image, QPoint place, QColor colour, int reach)
{
    for (int y = place.y() - reach; y <= place.y() + reach; ++y)
        for (int x = place.x() - reach; x <= place.x() + reach; ++x)
            if (image.rect().contains(x, y) && image.pixelColor(x, y) == colour)
                return true;
    return false;
}

int pixelsOtherThan(const QImage& image, const QRect& rectangle, QColor background)
{
    int count = 0;
    const QRect inside = rectangle & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += image.pixelColor(x, y) != background ? 1 : 0;
    return count;
}

} // namespace vortexa::test
