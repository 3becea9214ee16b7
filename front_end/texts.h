#ifndef VELMORA_FRONT_END_TEXTS_H_
#define VELMORA_FRONT_END_TEXTS_H_

// The front end's own texts. They are Spanish without accents, so that
// every console shows them alike whatever its code page.

inline constexpr char USAGE_TEXT[] =
    "VELMORA\n"
    "=======\n\n"
    "Este programa convierte un archivo SCR (snapshots de pantalla de Spectrum)\n"
    "a un archivo TAP (formato de cinta de Spectrum). El TAP contiene un pequeno\n"
    "cargador en BASIC que carga la pantalla y espera a que se pulse una tecla.\n\n"
    "La sintaxis de VELMORA es:\n\n"
    "VELMORA origen.scr [destino.tap]\n\n\n"
    "(c) 2026 el equipo de VELMORA\n"
    "Avisos de errores y sugerencias: en el repositorio del proyecto VELMORA.\n";

inline constexpr char SUCCESS_TEXT[] = "Conversion exitosa.";
inline constexpr char FAILURE_TEXT[] = "Error en la conversion.";
inline constexpr char NAME_TOO_LONG_TEXT[] =
    "ERROR: El nombre del archivo de destino es demasiado largo.\n";

#endif  // VELMORA_FRONT_END_TEXTS_H_
