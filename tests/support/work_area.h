// Sets the screen's work area for one test and puts the previous one back.
#pragma once

#include <windows.h>

namespace testing_support {

class WorkArea {
 public:
  explicit WorkArea(RECT area) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &m_saved, 0);
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &area, 0);
  }
  ~WorkArea() { SystemParametersInfoW(SPI_SETWORKAREA, 0, &m_saved, 0); }
  WorkArea(const WorkArea &) = delete;
  WorkArea &operator=(const WorkArea &) = delete;

 private:
  RECT m_saved{};
};

}  // namespace testing_support
