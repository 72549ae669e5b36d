// The notice shown after the day restart: "A new ToDo list was created." in a small
// semi-transparent window that stays on top without taking the work away from the user and
// closes by itself after 5 seconds.
#pragma once

namespace tirelmo {

struct MainWindow;

void showNewListNotice(MainWindow& w);

}  // namespace tirelmo
