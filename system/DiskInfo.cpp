// DiskInfo.cpp - CDiskInfo, the record filled by CSystem::GetDiskInfo.
#include "DiskInfo.h"

CDiskInfo::CDiskInfo()
    : m_nDriveType(0), m_dwSerialNumber(0), m_dwMaxComponentLength(0), m_fileSystemFlags(0),
      m_dwSectorsPerCluster(0), m_dwBytesPerSector(0), m_dwTotalClusters(0), m_dwFreeClusters(0),
      m_nTotalBytes(0), m_nTotalFreeBytes(0), m_nFreeBytesAvailable(0)
{
}

CDiskInfo::CDiskInfo(const CDiskInfo& other)
    : m_nDriveType(other.m_nDriveType), m_strVolumeName(other.m_strVolumeName),
      m_dwSerialNumber(other.m_dwSerialNumber), m_dwMaxComponentLength(other.m_dwMaxComponentLength),
      m_strFileSystemName(other.m_strFileSystemName), m_fileSystemFlags(other.m_fileSystemFlags),
      m_dwSectorsPerCluster(other.m_dwSectorsPerCluster), m_dwBytesPerSector(other.m_dwBytesPerSector),
      m_dwTotalClusters(other.m_dwTotalClusters), m_dwFreeClusters(other.m_dwFreeClusters),
      m_nTotalBytes(other.m_nTotalBytes), m_nTotalFreeBytes(other.m_nTotalFreeBytes),
      m_nFreeBytesAvailable(other.m_nFreeBytesAvailable)
{
}

const CDiskInfo& CDiskInfo::operator=(const CDiskInfo& other)
{
    m_nDriveType = other.m_nDriveType;
    m_strVolumeName = other.m_strVolumeName;
    m_dwSerialNumber = other.m_dwSerialNumber;
    m_dwMaxComponentLength = other.m_dwMaxComponentLength;
    m_strFileSystemName = other.m_strFileSystemName;
    m_fileSystemFlags = other.m_fileSystemFlags;
    m_dwSectorsPerCluster = other.m_dwSectorsPerCluster;
    m_dwBytesPerSector = other.m_dwBytesPerSector;
    m_dwTotalClusters = other.m_dwTotalClusters;
    m_dwFreeClusters = other.m_dwFreeClusters;
    m_nTotalBytes = other.m_nTotalBytes;
    m_nTotalFreeBytes = other.m_nTotalFreeBytes;
    m_nFreeBytesAvailable = other.m_nFreeBytesAvailable;
    return *this;
}

CDiskInfo::~CDiskInfo() {}
