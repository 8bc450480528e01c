#pragma once

#include <string>

#include "app/exceptions.h"

namespace app {

// A picture that cannot be read or does not fit the operation.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// An operation that a picture class does not support.
class EInvalidGraphicOperation : public Exception {
public:
    using Exception::Exception;
};

// The silent exception: a handler uses it to cancel a running operation.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

// An object that refuses to be assigned from or to another one.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

class EStreamError : public Exception {
public:
    using Exception::Exception;
};

// A stream that has fewer bytes than a reader demands.
class EReadError : public EStreamError {
public:
    EReadError() : EStreamError("Stream read error") {}
};

// A stream that takes fewer bytes than a writer hands it.
class EWriteError : public EStreamError {
public:
    EWriteError() : EStreamError("Stream write error") {}
};

class EFOpenError : public EStreamError {
public:
    explicit EFOpenError(const std::string& fileName) : EStreamError("Cannot open file \"" + fileName + "\"") {}
};

class EFCreateError : public EStreamError {
public:
    explicit EFCreateError(const std::string& fileName) : EStreamError("Cannot create file \"" + fileName + "\"") {}
};

}  // namespace app
