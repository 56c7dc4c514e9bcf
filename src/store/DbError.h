#pragma once

#include "AppError.h"

// An error raised by the catalogue store; the text is the engine's own message.
class DbError : public AppError {
public:
    using AppError::AppError;
};
