#pragma once

// The one switch between what libVelmora.so exports and what stays inside it: the library is built with
// hidden visibility, and only declarations marked PYX_API are visible to a host.
#define PYX_API __attribute__((visibility("default")))
