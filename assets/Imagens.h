#pragma once

// Resource names of the pictures rendered from assets/*.svg at build time.
namespace Imagens {

inline constexpr const char* Prancheta = ":/imagens/prancheta.png";
inline constexpr const char* Icone = ":/imagens/icone.png";
inline constexpr const char* Lixeira = ":/imagens/lixeira.png";
inline constexpr const char* Caderno = ":/imagens/caderno.png";
inline constexpr const char* Pagina = ":/imagens/pagina.png";
inline constexpr const char* Fechar = ":/imagens/fechar.png";
inline constexpr const char* Check = ":/imagens/check.png";
inline constexpr const char* Mao = ":/imagens/mao.png";
inline constexpr const char* Logo1 = ":/imagens/logo1.png";
inline constexpr const char* Logo2 = ":/imagens/logo2.png";

// Hotspot of the pointing-hand cursor: the top of the fingertip in mao.svg.
inline constexpr int MaoHotX = 8, MaoHotY = 0;

} // namespace Imagens
