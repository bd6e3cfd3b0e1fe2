#pragma once
#include <functional>

class QWidget;

// Runs `action` on every double click on `widget` (for as long as the widget lives).
void onDoubleClick(QWidget* widget, std::function<void()> action);
