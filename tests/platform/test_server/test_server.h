// The classes of the test server library.
#pragma once

#include <objbase.h>

// Created with IUnknown and IPersist (GetClassID gives this class).
// {6A3F0C11-52E4-4B8D-9C1B-2F7E5D4A0001}
inline constexpr CLSID CLSID_TestServerObject = {
    0x6a3f0c11, 0x52e4, 0x4b8d, {0x9c, 0x1b, 0x2f, 0x7e, 0x5d, 0x4a, 0x00, 0x01}};
// Its class object refuses to create instances with kTestServerRefusal.
// {6A3F0C11-52E4-4B8D-9C1B-2F7E5D4A0002}
inline constexpr CLSID CLSID_TestServerRefusing = {
    0x6a3f0c11, 0x52e4, 0x4b8d, {0x9c, 0x1b, 0x2f, 0x7e, 0x5d, 0x4a, 0x00, 0x02}};
inline constexpr HRESULT kTestServerRefusal = static_cast<HRESULT>(0x80040FEDu);
// Not served by the library, though a test may register it there.
// {6A3F0C11-52E4-4B8D-9C1B-2F7E5D4A0003}
inline constexpr CLSID CLSID_TestServerUnknown = {
    0x6a3f0c11, 0x52e4, 0x4b8d, {0x9c, 0x1b, 0x2f, 0x7e, 0x5d, 0x4a, 0x00, 0x03}};
