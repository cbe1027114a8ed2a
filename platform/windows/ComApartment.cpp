#include "platform/windows/ComApartment.h"

namespace talvane {

ComApartment::ComApartment()
    : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}

ComApartment::~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
}

}  // namespace talvane
