// The two sector transfer buffers, static for the program's whole life.
// Reads from the card bypass the system's cache, which wants the destination
// aligned to the device's block size; 4096 bytes covers 512-byte card
// readers and 4096-byte-sector files and devices alike.
#include "ui/VEXODlg.h"

alignas(4096) BYTE g_WriteBuffer[kTransferBufferSize];
alignas(4096) BYTE g_VerifyBuffer[kTransferBufferSize];
