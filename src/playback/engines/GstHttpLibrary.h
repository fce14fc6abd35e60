#pragma once

// GStreamer's HTTP source runs on the libsoup already loaded when it first loads,
// else on libsoup 3. libsoup 3.2 closes the response stream of a message whose
// read was cancelled through the message's freed I/O state, which crashes the
// source's session thread when a pipeline is dropped mid-read (quick zapping).
// libsoup 2 closes such a stream cleanly, so it is loaded first when it is
// installed and libsoup 3 is not loaded yet. Call before any pipeline exists;
// answers whether the HTTP source will run on libsoup 2.
bool loadSafeHttpLibrary();
