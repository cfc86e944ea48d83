* TL072 operational amplifier "macromodel" subcircuit
* connections:   non-inverting input
*                | inverting input
*                | | positive power supply
*                | | | negative power supply
*                | | | | output
*                | | | | |
.subckt TL072	 1 2 3 4 5
*
  c1   11 12 3.498E-12
  j1   11  2 10 jx
  j2   12  1 10 jx
.model jx PJF(Is=15.00E-12 Beta=270.1E-6 Vto=-1)
.ends
