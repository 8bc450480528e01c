#pragma once

namespace jpeg {

// The unit's start and end: at program start the default output depth is
// chosen from the screen and TJPEGImage is registered for "jpeg" and "jpg";
// at program end it is unregistered. The Qt application must exist first,
// so that the screen can be asked.
void InitializeJpegUnit();
void FinalizeJpegUnit();

// Both, tied to a scope: the start-up function holds one for the run.
class JpegUnit {
public:
    JpegUnit() { InitializeJpegUnit(); }
    ~JpegUnit() { FinalizeJpegUnit(); }
    JpegUnit(const JpegUnit&) = delete;
    JpegUnit& operator=(const JpegUnit&) = delete;
};

}  // namespace jpeg
