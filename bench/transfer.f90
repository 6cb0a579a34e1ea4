! transfer DIN OUT NB NL
! The yardstick of the network benchmark: the bus and branch lines of a power-flow results file
! read and written again as "barra" and "ramo" records through the Fortran runtime's formatted
! I/O, with the same record layouts as the network transfer of KOLVEN.
program transfer
  implicit none
  character(len=512) :: din_name, out_name, arg
  integer :: nb, nl, i
  integer :: ib1, ib2, il1, il2, il3
  double precision :: b1, b2, b3, b4, b5, b6, b7
  complex(kind=8) :: z1, z2

  call get_command_argument(1, din_name)
  call get_command_argument(2, out_name)
  call get_command_argument(3, arg)
  read (arg, *) nb
  call get_command_argument(4, arg)
  read (arg, *) nl

  open (unit=44, file=din_name, status='old', action='read', form='formatted')
  open (unit=55, file=out_name, status='replace', action='write', form='formatted')

  do i = 1, nb
    read (44, '(7X,I3,4F10.5,I5,F5.2,2F10.5)') ib1, b1, b2, b3, b4, ib2, b5, b6, b7
    write (55, '(A4,A1,I2,I3,4F10.5,I5,F5.2,2F10.5)') 'barr', 'a   ', i, ib1, b1, b2, b3, b4, &
      ib2, b5, b6, b7
  end do
  do i = 1, nl
    read (44, '(6X,I4,2(8X,I2),4F10.5)') il1, il2, il3, z1, z2
    write (55, '(A4,I2,I4,2(8X,I2),4F10.5)') 'ramo', i, il1, il2, il3, z1, z2
  end do

  close (55)
  close (44)
end program transfer
