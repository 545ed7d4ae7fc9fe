// String resources used by the foundation tests (kept clear of other tests' ids).
#pragma once
#define IDS_FT_HELLO        0x7A01
#define IDS_FT_FORMAT       0x7A02
#define IDS_FT_INSERT       0x7A03
#define IDS_FT_LONG         0x7A04
#define IDS_FT_FIELDS       0x7A05
#define IDS_FT_MISSING      0x7A0F
