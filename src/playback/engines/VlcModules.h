#pragma once

// True when libVLC will load our own modules with its own: the folder that holds them was
// found and named to libVLC when the program started. libVLC must not play without them.
bool ownVlcModulesAdded();
