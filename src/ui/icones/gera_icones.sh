#!/usr/bin/env bash
# Draws the program's own pictures (64 x 64 PNG, transparent background) with ImageMagick.
# They are bundled as Qt resources and used where the system's icon theme has no fitting
# icon. Run it again only to change a picture; its output is kept in the repository.
set -euo pipefail
cd "$(dirname "$0")"

desenha() {  # desenha NOME "primitivas MVG"
  convert -size 64x64 xc:none -strokewidth 2 -draw "$2" -define png:exclude-chunks=date,time "PNG32:$1.png"
}

# Save: a floppy disk.
desenha salvar "fill #2a5caa stroke #173a73 roundrectangle 6,6 58,58 5,5
  fill #f4f4f4 stroke #9aa6b8 rectangle 15,8 49,28
  fill #c7ced9 stroke #8b95a5 rectangle 17,40 47,58
  fill #2a5caa stroke none rectangle 38,11 44,24
  fill #55606e stroke none rectangle 22,44 30,56"

# Open: a yellow folder.
desenha abrir "fill #d9a520 stroke #8a6512 path 'M 4,14 L 24,14 L 29,20 L 58,20 L 58,54 L 4,54 Z'
  fill #f6cc4a stroke #8a6512 path 'M 4,54 L 13,28 L 62,28 L 56,54 Z'"

# Run: a green disc with a play sign.
desenha executar "fill #2e9b3a stroke #1d6326 circle 32,32 32,4
  fill white stroke none path 'M 24,17 L 47,32 L 24,47 Z'"

# Objectives: a target.
desenha objetivos "fill #d8342b stroke #8e1d17 circle 32,32 32,4
  fill white stroke none circle 32,32 32,12
  fill #d8342b circle 32,32 32,19
  fill white circle 32,32 32,26"

# Weights: a balance.
desenha pesos "stroke #4a3b2a stroke-width 4 line 32,8 32,52
  line 10,16 54,16
  line 18,56 46,56
  stroke #4a3b2a stroke-width 2 line 10,16 4,36 line 10,16 16,36 line 54,16 48,36 line 54,16 60,36
  fill #c89b3c stroke #7a5c1f path 'M 2,36 L 18,36 Q 10,46 2,36 Z'
  path 'M 46,36 L 62,36 Q 54,46 46,36 Z'
  fill #c89b3c circle 32,8 32,4"

# New initial solution: a die.
desenha sol_inicial "fill white stroke #33425c stroke-width 3 roundrectangle 8,8 56,56 9,9
  fill #33425c stroke none circle 20,20 20,25 circle 44,20 44,25 circle 32,32 32,37
  circle 20,44 20,49 circle 44,44 44,49"

# Grid with a blue heading row and column.
grade="fill white stroke #5a6478 rectangle 4,8 60,56
  fill #3f6fc4 stroke none rectangle 5,9 59,19 rectangle 5,9 19,55
  stroke #5a6478 stroke-width 1 line 4,20 60,20 line 4,32 60,32 line 4,44 60,44
  line 20,8 20,56 line 40,8 40,56"

# Initial table: the grid.
desenha tabela_inicial "$grade"

# Result table: the grid with a green tick.
desenha resultado "$grade
  fill none stroke #1f8a2e stroke-width 7 polyline 28,40 38,50 58,26"

# Economy: a gold coin.
desenha economia "fill #e7b416 stroke #8c6a07 stroke-width 3 circle 32,32 32,5
  fill none stroke #8c6a07 stroke-width 2 circle 32,32 32,11
  fill #8c6a07 stroke none font DejaVu-Sans-Bold font-size 30 text 22,43 '\$'"

# Quit: a door with an arrow leaving it.
desenha fechar "fill #8d5a2b stroke #4f3113 rectangle 8,4 36,60
  fill #e8c9a0 stroke none circle 30,34 30,37
  fill #c62828 stroke none path 'M 34,28 L 48,28 L 48,20 L 62,32 L 48,44 L 48,36 L 34,36 Z'"

# Select all: three ticked boxes.
desenha todos "fill white stroke #33425c rectangle 6,6 22,22 rectangle 6,24 22,40 rectangle 6,42 22,58
  fill none stroke #1f8a2e stroke-width 3 polyline 9,14 13,19 20,8 polyline 9,32 13,37 20,26 polyline 9,50 13,55 20,44
  stroke #33425c stroke-width 3 line 28,14 58,14 line 28,32 58,32 line 28,50 58,50"

# Clear all: three empty boxes.
desenha resetar "fill white stroke #33425c rectangle 6,6 22,22 rectangle 6,24 22,40 rectangle 6,42 22,58
  stroke #33425c stroke-width 3 line 28,14 58,14 line 28,32 58,32 line 28,50 58,50"

# Default values: an arrow turning back.
desenha padrao "fill none stroke #2a5caa stroke-width 7 arc 10,10 54,54 205,480
  fill #2a5caa stroke none path 'M 7,36 L 22,23 L 3,16 Z'"

# The program's own icon, kelm.png, is rendered from pacote/kelm.svg by pacote/gera_icones.sh.
