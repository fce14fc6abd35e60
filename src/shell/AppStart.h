#pragma once

class QGuiApplication;
class QQmlApplicationEngine;
class Services;

// All threads share two heaps. glibc would give threads heaps of their own, up to eight per
// core: the workers of a big load (parsing, indexing) then leave what they free spread
// over as many heaps, in pieces none of them can give back to the system.
void shareHeapsBetweenThreads();

// What the program sets up before its window: the look left to the platform, the services
// registered and their keys taken, the language.
void prepareApplication(QGuiApplication &app, Services &services);

// Loads the one window into `engine`, its views held back for its first frame; a failed
// load ends the event loop with 1.
void loadRootView(QQmlApplicationEngine &engine, Services &services);

// Once the window's first frame is out, loads the interface fonts and shows the views,
// starts GStreamer on a worker thread, so neither the first frame nor the first item waits
// for its plugin registry, and starts loading the views of the screens home opens.
void prepareAfterFirstFrame(QQmlApplicationEngine &engine, Services &services);

// Ends the process once its event loop has returned: the item playing keeps its resume
// point and work in flight on the thread pool (disk writes) finishes; nothing else is torn
// down, since settings and caches are written as they change.
[[noreturn]] void endProcess(int code, Services &services);
