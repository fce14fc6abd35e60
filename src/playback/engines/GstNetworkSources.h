#pragma once

typedef struct _GstElement GstElement;

// Takes out of GStreamer's registry, once, every element that reads an address other than a
// network one (files, devices, inline data...), and puts in their place one element that
// refuses them all without opening anything.
void keepOnlyNetworkSources();

// A source element of the pipeline about to read an address off the network.
bool readsOffNetwork(GstElement *element);
// Fails the pipeline as a stream that cannot be played.
void refuseSource(GstElement *pipeline, GstElement *source);
