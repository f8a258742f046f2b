// DiskInfo.h - facts about one disk volume.
//
//   CDiskInfo   drive type, volume and file-system facts, cluster geometry and sizes,
//               filled by CSystem::GetDiskInfo according to its flags
//
// The fields are read directly; each flag of GetDiskInfo fills its own group and leaves
// the others as they were.
#pragma once

#include <afx.h>

#include "BitSet.h"

class AFX_EXT_CLASS CDiskInfo
{
public:
    // Groups of fields for CSystem::GetDiskInfo.
    enum
    {
        infoDriveType = 0x1,
        infoVolume = 0x2,
        infoClusters = 0x4,
        infoBytes = 0x8,
        infoAll = 0xF,
    };

// Construction
    CDiskInfo();
    CDiskInfo(const CDiskInfo& other);
    const CDiskInfo& operator=(const CDiskInfo& other);
    ~CDiskInfo();

// Fields
    UINT m_nDriveType;                      // infoDriveType: GetDriveType's result
    CString m_strVolumeName;                // infoVolume: label, at most 31 characters
    DWORD m_dwSerialNumber;                 // infoVolume
    DWORD m_dwMaxComponentLength;           // infoVolume: longest file-name component
    CString m_strFileSystemName;            // infoVolume: at most 9 characters
    CBitSet m_fileSystemFlags;              // infoVolume: FILE_... flags
    DWORD m_dwSectorsPerCluster;            // infoClusters
    DWORD m_dwBytesPerSector;               // infoClusters
    DWORD m_dwTotalClusters;                // infoClusters
    DWORD m_dwFreeClusters;                 // infoClusters
    unsigned __int64 m_nTotalBytes;         // infoBytes
    unsigned __int64 m_nTotalFreeBytes;     // infoBytes
    unsigned __int64 m_nFreeBytesAvailable; // infoBytes: free space for this caller
};
