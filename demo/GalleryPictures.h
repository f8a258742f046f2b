// GalleryPictures.h - the pictures of WivoGallery, one per bitmap depth.
//
// Each is computed into a device-independent bitmap of its depth: palettes for
// 1, 4 and 8 bits per pixel, RGB 5-5-5 for 16, RGB for 24 and 32.
#pragma once

#include <afxwin.h>

class CDIBitmap;

// The size of every picture, in pixels.
const int kPictureWidth = 192;
const int kPictureHeight = 144;

// The depths in the order the gallery shows them.
const int kGalleryDepths[] = {1, 4, 8, 16, 24, 32};
const int kGalleryPictureCount = sizeof(kGalleryDepths) / sizeof(kGalleryDepths[0]);

// Makes the picture of that depth into dib; FALSE for another depth or when the
// section cannot be created.
BOOL MakeGalleryPicture(int nBitsPerPixel, CDIBitmap& dib);

// What the picture of that depth shows, in German ("" for another depth).
CString GalleryPictureTitle(int nBitsPerPixel);

// The number of colours a bitmap can show, in German ("256 Farben").
CString ColorCountText(const CDIBitmap& dib);
