#include <gtest/gtest.h>

#include <QWidget>

#include "shell/main/AutoResize.h"

namespace vlt {
namespace {

TEST(AutoResize, ControlsFollowTheEdgesTheyAreGluedTo) {
    QWidget window;
    window.resize(400, 300);
    auto* splitter = new QWidget(&window);
    splitter->setGeometry(0, 20, 400, 250);
    auto* corner = new QWidget(&window);
    corner->setGeometry(350, 270, 40, 20);

    AutoResize table;
    EXPECT_EQ(table.AutoResize_Apply(&window), -1);  // nothing registered yet
    EXPECT_EQ(table.AutoResize_Add(&window, splitter, 1, 0, 1, 0), 0);
    EXPECT_EQ(table.AutoResize_Add(&window, splitter, 0, 0, 0, 0), 0);  // kept as first given
    EXPECT_EQ(table.AutoResize_Add(&window, corner, 0, 1, 0, 1), 1);
    EXPECT_EQ(table.AutoResize_Find(&window, corner), 1);

    window.resize(450, 330);
    EXPECT_EQ(table.AutoResize_Apply(&window), 0);
    EXPECT_EQ(splitter->geometry(), QRect(0, 20, 450, 280));  // 50 wider, 30 taller
    EXPECT_EQ(corner->geometry(), QRect(400, 300, 40, 20));   // moved with the corner

    delete corner;  // a destroyed control is skipped
    window.resize(500, 300);
    EXPECT_EQ(table.AutoResize_Apply(&window), 0);
    EXPECT_EQ(splitter->geometry(), QRect(0, 20, 500, 250));
}

}  // namespace
}  // namespace vlt
