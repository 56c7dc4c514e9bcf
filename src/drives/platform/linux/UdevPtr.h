#pragma once

#include <libudev.h>
#include <memory>

// libudev objects released with their unref functions.
struct UdevUnref {
    void operator()(udev *p) const { udev_unref(p); }
    void operator()(udev_device *p) const { udev_device_unref(p); }
    void operator()(udev_enumerate *p) const { udev_enumerate_unref(p); }
    void operator()(udev_monitor *p) const { udev_monitor_unref(p); }
};

template <class T> using UdevPtr = std::unique_ptr<T, UdevUnref>;
