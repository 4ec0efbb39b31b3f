// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>

class QWidget;

// Runs `action` once `widget` has painted for the first time, so that slow work
// (a huge folder's listing) never leaves a blank frame on the screen.
void runAfterFirstPaint(QWidget *widget, std::function<void()> action);
