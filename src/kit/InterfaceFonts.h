#pragma once

// Lets the interface fonts draw every weight and script the views use: registers the faces
// built into the program (Noto Sans and Noto Sans Arabic in Medium, SemiBold and ExtraBold;
// the system holds Regular and Bold), and draws Arabic runs of the interface and rounded
// faces in Noto Sans Arabic. Called before the first text is laid out; later calls do nothing.
void loadInterfaceFonts();
