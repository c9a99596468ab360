# The pictures the asset generator draws, by their names in the data folder. Both builds lay out
# their data folder from this list.
set(SKYFARE_GENERATED_PICTURES
  FastJet.bmp
  jet01.bmp jet02.bmp jet03.bmp jet04.bmp jet05.bmp jet06.bmp jet07.bmp
  jet08.bmp jet09.bmp jet10.bmp jet11.bmp jet12.bmp jet13.bmp jet14.bmp
  mjet15.bmp
  "city lights.bmp"
  SF-Logo.bmp)
