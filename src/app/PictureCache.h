#pragma once

// What the settings screen needs of the picture store; the store implements it.
class PictureCache {
public:
    virtual ~PictureCache() = default;

    // Forgets the pictures kept in memory and on disk.
    virtual void clear() = 0;
};
