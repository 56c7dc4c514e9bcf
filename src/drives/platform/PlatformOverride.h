#pragma once

class Platform;

// Makes a platform the one Platform::instance() answers for as long as this object
// lives (tests put a FakePlatform in force this way). Overrides nest.
class PlatformOverride {
public:
    explicit PlatformOverride(Platform &platform);
    ~PlatformOverride();
    PlatformOverride(const PlatformOverride &) = delete;
    PlatformOverride &operator=(const PlatformOverride &) = delete;

private:
    Platform *m_previous;
};
