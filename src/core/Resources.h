#pragma once
// Makes the pictures compiled into the library reachable under ":/".
void InitResources();
