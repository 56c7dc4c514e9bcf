#pragma once

#include <memory>

class Platform;

// The platform of the machine the program runs on.
std::unique_ptr<Platform> createSystemPlatform();
