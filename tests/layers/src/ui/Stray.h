#pragma once
// Lies in ui/ itself, which is no layer: only its three libraries' folders are.
