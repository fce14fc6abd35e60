#pragma once

class QGuiApplication;
class QQmlApplicationEngine;

// What the program sets up before its window: the look left to the platform, the shared
// instances and their wiring, the language.
void prepareApplication(QGuiApplication &app);

// Loads the one window into `engine`; a failed load ends the event loop with 1.
void loadRootView(QQmlApplicationEngine &engine);
