#pragma once

namespace viewer {

// Points standard error at /dev/null while it lives: libxlsxwriter prints
// its own English messages there, and the viewer reports the failure in
// Russian instead.
class SilencedStandardError {
public:
    SilencedStandardError();
    ~SilencedStandardError();
    SilencedStandardError(const SilencedStandardError&) = delete;
    SilencedStandardError& operator=(const SilencedStandardError&) = delete;

private:
    int saved_ = -1;
};

}  // namespace viewer
